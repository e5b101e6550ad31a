// The chart report of a data file as a PDF, without a screen, drawn by the
// same page code the viewer prints with. Offices print a report for every
// vehicle's day, so this runs in a loop over a folder:
//   ondavia-report FILE -o OUT.pdf [--from hh:nn:ss[.zz]] [--to hh:nn:ss[.zz]]
// The span is the whole file unless --from/--to name times of day within it
// (for a file across midnight, the moment inside the file's span). Exit
// status 0 on success, 1 when the file or the PDF fails, 2 on a usage error.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/application.hpp"
#include "common/datetime.hpp"
#include "data/opendatafile.hpp"
#include "output/chartreport.hpp"
#include "output/reporttext.hpp"
#include "viewer/chartseries.hpp"

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

const char* const kUsageText =
    "usage: ondavia-report FILE -o OUT.pdf [--from hh:nn:ss[.zz]] [--to hh:nn:ss[.zz]]\n";

struct Arguments {
    std::string file, out, from, to;
};

// Nothing but the usage line on any doubt: the loop that calls this must
// not mistake a typing error for a refused file.
std::optional<Arguments> Parse(const std::vector<std::string>& args) {
    Arguments a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = nullptr;
        if (arg == "-o")
            value = &a.out;
        else if (arg == "--from")
            value = &a.from;
        else if (arg == "--to")
            value = &a.to;
        if (value) {
            if (i + 1 >= args.size() || !value->empty() || args[i + 1].empty()) return std::nullopt;
            *value = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return std::nullopt;
        } else if (a.file.empty() && !arg.empty()) {
            a.file = arg;
        } else {
            return std::nullopt;
        }
    }
    if (a.file.empty() || a.out.empty()) return std::nullopt;
    for (const std::string* t : {&a.from, &a.to})
        if (!t->empty() && !ondavia::ParseTimeOfDay(*t)) return std::nullopt;
    return a;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::optional<Arguments> a = Parse(args);
    if (!a) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    // The page is drawn with widgets that are never shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // stderr carries the reasons a file was refused; the toolkit's notes
    // about a headless session would only bury them.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    ondavia::gui::InstallFontSubstitutes();

    ondavia::OpenedFile opened =
        ondavia::OpenDataFile(std::filesystem::path(a->file), ondavia::CurrentYear());
    if (!opened.ok()) {
        std::string err = opened.message + "\n";
        if (!opened.detail.empty()) err += "(" + opened.detail + ")\n";
        std::fputs(err.c_str(), stderr);
        return kFailed;
    }
    std::optional<ondavia::Recording>& rec = opened.recording;
    const ondavia::ChartSeries series =
        ondavia::BuildChartSeries(rec->table, rec->hundredths, ondavia::CurrentYear());
    if (series.Empty()) return Fail("그래프에 그릴 기록이 없습니다: " + a->file);

    const std::string span = ondavia::ReportTimeText(series.firstTime, rec->hundredths) + " ~ " +
                             ondavia::ReportTimeText(series.lastTime, rec->hundredths);
    ondavia::DateTime min = series.firstTime, max = series.lastTime;
    if (!a->from.empty()) {
        auto t = ondavia::TimeInSpan(*ondavia::ParseTimeOfDay(a->from), series.firstTime,
                                     series.lastTime);
        if (!t)
            return Fail("--from " + a->from + " 은(는) 파일의 시간 범위 밖입니다 (" + span + ")");
        min = *t;
    }
    if (!a->to.empty()) {
        auto t =
            ondavia::TimeInSpan(*ondavia::ParseTimeOfDay(a->to), series.firstTime, series.lastTime);
        if (!t) return Fail("--to " + a->to + " 은(는) 파일의 시간 범위 밖입니다 (" + span + ")");
        max = *t;
    }
    if (max < min) return Fail("--to 가 --from 보다 앞섭니다 (" + span + ")");

    ondavia::gui::TFrmDtgAnalyP_A1 page;
    page.Fill(series, QString::fromStdString(rec->header.carNo), min, max, rec->hundredths, true);
    if (!ondavia::gui::SaveReportPdf(page, QString::fromLocal8Bit(a->out.c_str())))
        return Fail("PDF 파일을 쓸 수 없습니다: " + a->out);
    return kOk;
}
