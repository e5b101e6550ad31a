// The record grid's model under Qt's own model checker, and the cell texts
// it takes from the shared column formatter.
#include <QAbstractItemModelTester>
#include <QtTest>

#include "data/recording.hpp"
#include "support/builders.hpp"
#include "viewer/recordgridmodel.hpp"

using namespace ondavia;
using ondavia::gui::RecordGridModel;

namespace {

Recording LoadText(const std::vector<test::RecordFields>& fields) {
    std::vector<std::string> records;
    for (const test::RecordFields& f : fields)
        records.push_back(test::MakeRecord(f));
    const std::string file = test::TextFile(test::MakeHeader(), records);
    LoadOptions options;
    options.upperName = "20261210-12345678-01.TXT";
    options.pivotYear = CurrentYear();
    Recording rec;
    if (!LoadRecordingBytes(file, options, rec).ok()) qFatal("fixture did not load");
    return rec;
}

}  // namespace

class RecordGridModelTest : public QObject {
    Q_OBJECT
  private slots:
    void modelCheckerAcceptsLoadsAndClears() {
        RecordGridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::vector<test::RecordFields> fields(3);
        fields[0].time = "100000";
        fields[1].time = "100001";
        fields[2].time = "100002";
        Recording rec = LoadText(fields);
        model.SetRecording(&rec);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 18);
        model.SetRecording(nullptr);
        QCOMPARE(model.rowCount(), 0);
        Recording empty;
        model.SetRecording(&empty);
        QCOMPARE(model.rowCount(), 0);
    }

    // A status field of -1 shows in the "00" format as "-01".
    void statusCodesShowInTwoDigits_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("00") << "00"
                            << "00";
        QTest::newRow("11") << "11"
                            << "11";
        QTest::newRow("-1") << "-1"
                            << "-01";
    }
    void statusCodesShowInTwoDigits() {
        QFETCH(QString, field);
        QFETCH(QString, shown);
        std::vector<test::RecordFields> fields(1);
        fields[0].state = field.toStdString();
        Recording rec = LoadText(fields);
        RecordGridModel model;
        model.SetRecording(&rec);
        QCOMPARE(model.index(0, ColState).data().toString(), shown);
    }
};

QTEST_MAIN(RecordGridModelTest)
#include "recordgridmodel_test.moc"
