// One running viewer per user: a second start asks the first to come forward
// and ends.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace ondavia::gui {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // identifier: the program identifier ("ONDAVIA_APP"); the user's name is
    // added so that users on one machine do not see each other.
    explicit SingleInstance(const QString& identifier, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance runs: it has been asked to come forward.
    // False when this one is the instance; it then serves later starts.
    bool IsAlreadyRunning();
    QString ServerName() const { return name_; }

  signals:
    // Another start asked this instance to show itself.
    void Activated();

  private:
    bool AskRunningInstance(int waitMs);
    void Serve();

    QString name_;
    // Held for the whole run: whoever holds it is the instance, so two
    // starts at the same moment cannot both listen.
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace ondavia::gui
