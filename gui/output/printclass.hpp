// The application-wide report printer and its remembered choice.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class QPrinter;
class QWidget;

namespace ondavia::gui {

class TPRINT_CLASS {
  public:
    TPRINT_CLASS();

    // Lists the installed printers in the combo box, makes the remembered
    // one current when it is installed and selects the current printer;
    // returns its index, or -1 (after a warning) when none is installed.
    int FillPrinterList(QComboBox* box, QWidget* parent = nullptr);
    // Makes the selected printer current and remembers its name.
    void SelectPrinter(QComboBox* box);
    // Gives a report the current printer and the number of copies.
    void ApplyToReport(QPrinter& report, int copies) const;

    QString CurrentPrinter() const { return current_; }

    // Where the choice is remembered ("Software\NorvaneGPS\PRINTER", subkey
    // "Print", value "Printer"); tests point it elsewhere.
    std::function<std::unique_ptr<QSettings>()> OpenSettings;
    // The installed printers in the system's order and the system default;
    // tests stand in for the print system.
    std::function<QStringList()> InstalledPrinters;
    std::function<QString()> DefaultPrinter;

  private:
    // The printer every report uses until another is chosen; the system's
    // default at first.
    QString current_;
    bool chosen_ = false;
};

}  // namespace ondavia::gui
