// halvo-wsx plot: draws a record's page, or a day's chart, offscreen into a PNG or a PDF page.
#include "WsxPlot.h"
#include "data/FilePaths.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "DayPage.h"
#include "RecordIndex.h"
#include "WsxTool.h"
#include "data/RadData.h"
#include "display/qt/QtCanvas.h"
#include "display/qt/QtPageOutput.h"
#include "document/OrvelSettings.h"

namespace {

const char kPlotUsage[] =
    "usage: halvo-wsx plot FILE [--record N] [--config Orvel.cfg] OUTPUT\n"
    "       halvo-wsx plot --day FILE... OUTPUT\n"
    "OUTPUT is -o OUT.png, -o OUT.pdf (the format follows the extension), --png OUT.png\n"
    "[--size WxH] or --pdf OUT.pdf.\n"
    "Draws the page of record N (default: the last) as the main window shows it: title, memo,\n"
    "legend, time stamp, quantities, temperature and the four spectra, with the default graph\n"
    "settings (300-1100 nm, autoscale) or with the graph settings, title and colour of the\n"
    "settings file given by --config.\n"
    "With --day: the global, diffuse and direct-horizontal PAR and the global UV-A of every\n"
    "record of the files against local time.\n"
    "The picture is 1600x1200 unless --size says otherwise; the PDF is one A4 landscape page.\n";

struct PlotArgs {
    std::vector<std::string> files;
    bool day = false;
    int record = -1;
    std::string png;
    std::string pdf;
    std::string config;
    int width = 1600;
    int height = 1200;
};

bool ParseInt(const std::string& text, long low, long high, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || v < low || v > high) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), 16, 8000, width) &&
           ParseInt(text.substr(x + 1), 16, 8000, height);
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) {
        return false;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        const char c = text[text.size() - tail.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != tail[i]) {
            return false;
        }
    }
    return true;
}

// -o takes the format from the name's extension.
bool ParseOutput(const std::string& value, PlotArgs& plot, std::ostream& err) {
    if (EndsWithNoCase(value, ".png")) {
        plot.png = value;
    } else if (EndsWithNoCase(value, ".pdf")) {
        plot.pdf = value;
    } else {
        err << "halvo-wsx plot: -o needs a name ending in .png or .pdf, not '" << value << "'\n";
        return false;
    }
    return true;
}

bool ParseOption(const std::string& option, const std::string& value, PlotArgs& plot,
                 std::ostream& err) {
    bool ok = true;
    if (option == "--record") {
        ok = ParseInt(value, 0, 0x7FFFFFFF, plot.record);
    } else if (option == "--png") {
        ok = plot.png.empty();
        plot.png = value;
    } else if (option == "--pdf") {
        ok = plot.pdf.empty();
        plot.pdf = value;
    } else if (option == "-o") {
        if (!plot.png.empty() || !plot.pdf.empty()) {
            err << "halvo-wsx plot: give exactly one of -o, --png and --pdf\n";
            return false;
        }
        return ParseOutput(value, plot, err);
    } else if (option == "--size") {
        ok = ParseSize(value, plot.width, plot.height);
    } else if (option == "--config") {
        plot.config = value;
    } else {
        ok = false;
    }
    if (!ok) {
        err << "halvo-wsx plot: bad argument '" << option << " " << value << "'\n";
    }
    return ok;
}

bool Parse(const std::vector<std::string>& args, PlotArgs& plot, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--day") {
            plot.day = true;
        } else if (a.size() > 1 && a[0] == '-') {
            if (i + 1 >= args.size()) {
                err << "halvo-wsx plot: " << a << " needs a value\n";
                return false;
            }
            if (!ParseOption(a, args[++i], plot, err)) {
                return false;
            }
        } else {
            plot.files.push_back(a);
        }
    }
    if (plot.files.empty() || (!plot.day && plot.files.size() > 1)) {
        err << (plot.files.empty() ? "halvo-wsx plot: a data file is needed\n"
                                   : "halvo-wsx plot: one data file, or --day with several\n");
        return false;
    }
    if (plot.day && (plot.record >= 0 || !plot.config.empty())) {
        err << "halvo-wsx plot: --record and --config apply to a record's page, not to --day\n";
        return false;
    }
    if (plot.png.empty() == plot.pdf.empty()) {
        err << "halvo-wsx plot: give exactly one of -o, --png and --pdf\n";
        return false;
    }
    return true;
}

// The graph settings, title and colour a user sees in the window, from their settings file.
int LoadConfig(const std::string& path, GRAPHPARAM& param, std::string& title, std::ostream& err) {
    if (path.empty()) {
        return CWsxTool::kOk;
    }
    if (!std::filesystem::is_regular_file(path)) {
        err << "halvo-wsx: cannot open settings file '" << path << "'\n";
        return CWsxTool::kMissingFile;
    }
    COrvelSettings settings(ExecutableFolder());
    if (settings.LoadSaveConfig(path, COrvelSettings::kLoad) != 1) {
        err << "halvo-wsx: '" << path << "' is not a complete Halvo settings file\n";
        return CWsxTool::kNotDataFile;
    }
    param = settings.m_graphParam;
    title = settings.m_graphTitle;
    return CWsxTool::kOk;
}

using Painting = std::function<bool(ICanvas&, int, int)>;

// Draws into the picture or the PDF page named by plot; the tool's exit code.
int Render(const PlotArgs& plot, const Painting& paint, std::ostream& out, std::ostream& err) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc = 1;
    char name[] = "halvo-wsx";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const std::string target = plot.png.empty() ? plot.pdf : plot.png;
    QPainter painter;
    bool complete = false;
    if (!plot.png.empty()) {
        QImage image(plot.width, plot.height, QImage::Format_RGB32);
        image.fill(Qt::white);
        if (painter.begin(&image)) {
            const DrawArea area = ScreenDrawArea(image.width(), image.height());
            {
                CQtCanvas canvas(painter, CanvasKind::Screen);
                ApplyDrawArea(canvas, area);
                complete = paint(canvas, area.width, area.height);
            }
            painter.end();
            if (!image.save(QString::fromStdString(plot.png))) {
                err << "halvo-wsx: cannot write '" << plot.png << "'\n";
                return CWsxTool::kMissingFile;
            }
        } else {
            err << "halvo-wsx: cannot draw into '" << target << "'\n";
            return CWsxTool::kMissingFile;
        }
    } else {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(plot.pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        if (!painter.begin(&printer)) {
            err << "halvo-wsx: cannot draw into '" << target << "'\n";
            return CWsxTool::kMissingFile;
        }
        const DrawArea area = PrinterDrawArea(PrinterCapsOf(printer));
        {
            CQtCanvas canvas(painter, CanvasKind::Printer);
            ApplyDrawArea(canvas, area);
            complete = paint(canvas, area.width, area.height);
        }
        painter.end();
    }
    if (!complete) {
        err << "halvo-wsx: a record has a time that cannot be converted\n";
        return CWsxTool::kBadTime;
    }
    out << target << "\n";
    return CWsxTool::kOk;
}

int PlotRecord(const PlotArgs& plot, std::ostream& out, std::ostream& err) {
    GRAPHPARAM param;
    std::string title = std::filesystem::path(plot.files[0]).filename().string();
    if (const int status = LoadConfig(plot.config, param, title, err); status != CWsxTool::kOk) {
        return status;
    }
    CRadData file;
    const std::string& path = plot.files[0];
    const int count = file.LoadFile(path.c_str());
    if (count == -2 || count == -1) {
        err << "halvo-wsx: '" << path << "' "
            << (count == -2 ? "cannot be opened" : "is not a Halvo data file") << "\n";
        return count == -2 ? CWsxTool::kMissingFile : CWsxTool::kNotDataFile;
    }
    if (file.m_trailingBytes > 0) {
        err << "halvo-wsx: '" << path << "' ends in a torn record; read up to its last whole "
            << "record (" << count << "), " << file.m_trailingBytes << " bytes ignored\n";
    }
    const int index = plot.record >= 0 ? plot.record : count - 1;
    if (index < 0 || index >= count) {
        err << "halvo-wsx: record " << index << " out of range (the file holds " << count << ")\n";
        return CWsxTool::kNoSuchRecord;
    }
    // The page draws the data set's first record.
    CRadData page;
    page.CopyHeader(file);
    page.AddData(*file.GetRecord(index));
    const PageTexts texts{title, file.m_memo};
    return Render(
        plot,
        [&](ICanvas& canvas, int width, int height) {
            CPageDrawer drawer(canvas, width, height);
            return drawer.Draw(page, param, texts);
        },
        out, err);
}

int PlotDay(const PlotArgs& plot, std::ostream& out, std::ostream& err) {
    CRecordIndex index;
    if (const int status = index.Open(plot.files, err); status != CWsxTool::kOk) {
        return status;
    }
    if (index.Records().empty()) {
        err << "halvo-wsx: the files hold no records\n";
        return CWsxTool::kNoSuchRecord;
    }
    DaySeries day;
    if (!BuildDaySeries(index, day, err)) {
        return CWsxTool::kBadTime;
    }
    const CRadData& first = index.Header(0);
    day.title = first.m_memo.empty() ? std::filesystem::path(plot.files[0]).filename().string()
                                     : first.m_memo;
    return Render(
        plot,
        [&](ICanvas& canvas, int width, int height) {
            CDayPage(canvas, width, height).Draw(day);
            return true;
        },
        out, err);
}

}  // namespace

int RunWsxPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << kPlotUsage;
        return CWsxTool::kOk;
    }
    PlotArgs plot;
    if (!Parse(args, plot, err)) {
        err << kPlotUsage;
        return CWsxTool::kUsage;
    }
    return plot.day ? PlotDay(plot, out, err) : PlotRecord(plot, out, err);
}
