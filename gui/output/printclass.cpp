#include "printclass.hpp"

#include <QComboBox>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/services.hpp"
#include "output/printerchoice.hpp"

namespace ondavia::gui {

namespace {
const char* const kRememberedKey = "Print/Printer";
}

TPRINT_CLASS::TPRINT_CLASS() {
    OpenSettings = [] {
        return std::make_unique<QSettings>(QStringLiteral("NorvaneGPS"), QStringLiteral("PRINTER"));
    };
    InstalledPrinters = [] { return QPrinterInfo::availablePrinterNames(); };
    DefaultPrinter = [] { return QPrinterInfo::defaultPrinterName(); };
}

int TPRINT_CLASS::FillPrinterList(QComboBox* box, QWidget* parent) {
    const QStringList names = InstalledPrinters();
    if (names.isEmpty()) {
        ShowWarning(parent, QStringLiteral("설치된 프린터 드라이브가 없습니다."));
        return -1;
    }
    const QString remembered = OpenSettings()->value(kRememberedKey).toString();
    std::vector<std::string> installed;
    for (const QString& n : names)
        installed.push_back(n.toStdString());
    int index = FindRememberedPrinter(installed, remembered.toStdString());
    if (index >= 0) {
        current_ = names[index];
        chosen_ = true;
    } else {
        if (!chosen_ || !names.contains(current_)) current_ = DefaultPrinter();
        index = static_cast<int>(names.indexOf(current_));
        if (index < 0) {
            index = 0;
            current_ = names[0];
        }
    }
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(index);
    return index;
}

void TPRINT_CLASS::SelectPrinter(QComboBox* box) {
    if (box->currentIndex() < 0) return;  // nothing selected: nothing to remember
    current_ = box->currentText();
    chosen_ = true;
    OpenSettings()->setValue(kRememberedKey, current_);
}

void TPRINT_CLASS::ApplyToReport(QPrinter& report, int copies) const {
    if (!current_.isEmpty()) report.setPrinterName(current_);
    report.setCopyCount(copies);
}

}  // namespace ondavia::gui
