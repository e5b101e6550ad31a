// One running viewer per user: a second start asks the first to come forward
// and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace ondavia::gui {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // identifier: the program identifier ("ONDAVIA_APP"); the user's name is
    // added so that users on one machine do not see each other.
    explicit SingleInstance(const QString& identifier, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered: it has been asked to come forward.
    bool IsAlreadyRunning();
    QString ServerName() const { return name_; }

  signals:
    // Another start asked this instance to show itself.
    void Activated();

  private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace ondavia::gui
