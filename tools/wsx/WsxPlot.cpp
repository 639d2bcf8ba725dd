// halvo-wsx plot: draws a record's page offscreen into a PNG or onto a PDF page.
#include "WsxPlot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <cstdlib>
#include <filesystem>

#include "WsxTool.h"
#include "data/RadData.h"
#include "display/qt/QtPageOutput.h"
#include "document/GraphParam.h"

namespace {

const char kPlotUsage[] =
    "usage: halvo-wsx plot FILE [--record N] (--png OUT.png [--size WxH] | --pdf OUT.pdf)\n"
    "Draws the page of record N (default: the last) as the main window shows it: title (the\n"
    "file's name), memo, legend, time stamp, quantities, temperature and the four spectra with\n"
    "the default graph settings (300-1100 nm, autoscale). The picture is 1600x1200 unless\n"
    "--size says otherwise; the PDF is one A4 landscape page.\n";

struct PlotArgs {
    std::string file;
    int record = -1;
    std::string png;
    std::string pdf;
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

bool Parse(const std::vector<std::string>& args, PlotArgs& plot, std::ostream& err) {
    if (args.empty()) {
        err << "halvo-wsx plot: a data file is needed\n";
        return false;
    }
    plot.file = args[0];
    for (size_t i = 1; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            err << "halvo-wsx plot: " << option << " needs a value\n";
            return false;
        }
        const std::string& value = args[i + 1];
        bool ok = true;
        if (option == "--record") {
            ok = ParseInt(value, 0, 0x7FFFFFFF, plot.record);
        } else if (option == "--png") {
            plot.png = value;
        } else if (option == "--pdf") {
            plot.pdf = value;
        } else if (option == "--size") {
            ok = ParseSize(value, plot.width, plot.height);
        } else {
            ok = false;
        }
        if (!ok) {
            err << "halvo-wsx plot: bad argument '" << option << " " << value << "'\n";
            return false;
        }
    }
    if (plot.png.empty() == plot.pdf.empty()) {
        err << "halvo-wsx plot: give exactly one of --png and --pdf\n";
        return false;
    }
    return true;
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
    CRadData file;
    const int count = file.LoadFile(plot.file.c_str());
    if (count == -2 || count == -1) {
        err << "halvo-wsx: '" << plot.file << "' "
            << (count == -2 ? "cannot be opened" : "is not a Halvo data file") << "\n";
        return count == -2 ? CWsxTool::kMissingFile : CWsxTool::kNotDataFile;
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

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc = 1;
    char name[] = "halvo-wsx";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const PageTexts texts{std::filesystem::path(plot.file).filename().string(), file.m_memo};
    const GRAPHPARAM param;
    PageRenderResult result;
    if (!plot.png.empty()) {
        QImage image(plot.width, plot.height, QImage::Format_RGB32);
        result = RenderPageToImage(image, page, param, texts);
        if (result != PageRenderResult::DeviceFailed &&
            !image.save(QString::fromStdString(plot.png))) {
            err << "halvo-wsx: cannot write '" << plot.png << "'\n";
            return CWsxTool::kMissingFile;
        }
    } else {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(plot.pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        result = RenderPageToPrinter(printer, page, param, texts);
    }
    if (result == PageRenderResult::DeviceFailed) {
        err << "halvo-wsx: cannot draw into '" << (plot.png.empty() ? plot.pdf : plot.png) << "'\n";
        return CWsxTool::kMissingFile;
    }
    if (result == PageRenderResult::Stopped) {
        err << "halvo-wsx: record " << index << " has a time that cannot be converted\n";
        return CWsxTool::kBadTime;
    }
    out << (plot.png.empty() ? plot.pdf : plot.png) << "\n";
    return CWsxTool::kOk;
}
