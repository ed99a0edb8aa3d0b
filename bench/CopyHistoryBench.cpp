// "Copy History To Clipboard" with a 100 MB history log in the real window: the longest
// time the window went without answering, and the whole copy's time next to a plain read
// of the same file in the same run.
//
// usage: kestrava_copy_history_bench [megabytes]     (offscreen; no display needed)

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QSettings>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Form1.h"
#include "bench/StallProbe.h"
#include "ui/qt/QtForm1View.h"
#include "ui/qt/RealServices.h"

namespace {

std::filesystem::path MakeScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestrava-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

void WriteLog(const std::filesystem::path& path, std::size_t megabytes) {
    std::ofstream log(path, std::ios::binary);
    const std::string line =
        "/home/ann/Projekte/Blätter und Ähren/archive/2026/report-0042.pdf|1.5 MB|"
        "12/6/2026 10:00:00 AM\r\n";
    std::size_t written = 0;
    for (int entry = 0; written < megabytes << 20; ++entry) {
        const std::string header = "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n";
        log << header;
        written += header.size();
        for (int file = 0; file < 1000; ++file) {
            log << line;
            written += line.size();
        }
    }
}

double MillisecondsToRead(const std::filesystem::path& path) {
    QElapsedTimer timer;
    timer.start();
    std::ifstream file(path, std::ios::binary);
    std::string content(std::filesystem::file_size(path), '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 100;

    const auto scratch = MakeScratchFolder();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(scratch.string()));
    qputenv("TEMP", QByteArray::fromStdString(scratch.string()));

    kestrava::ui::qt::RealServices real;
    kestrava::ui::qt::QtForm1View view;
    kestrava::app::Form1 form(view, real.services);
    view.attach(form);
    form.Form_Load();
    view.setTimerInterval(0);
    WriteLog(form.HistoryLogPath, megabytes);

    MillisecondsToRead(form.HistoryLogPath);  // warm the cache
    const double readMs = MillisecondsToRead(form.HistoryLogPath);
    kestrava::bench::StallProbe probe;
    QElapsedTimer timer;
    probe.start();
    timer.start();
    QTest::mouseClick(view.widget(kestrava::app::Control::PushButton2), Qt::LeftButton);
    const double copyMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double longestStallMs = probe.stop();

    const auto copied = QGuiApplication::clipboard()->text().size();
    std::printf("history log: %zu MB, clipboard: %lld characters\n", megabytes,
                static_cast<long long>(copied));
    std::printf("plain read (reference): %8.1f ms\n", readMs);
    std::printf("whole copy:             %8.1f ms  (%.2f x the read)\n", copyMs, copyMs / readMs);
    std::printf("longest stall:          %8.1f ms  (target: under 1000 ms)\n", longestStallMs);
    std::filesystem::remove_all(scratch);
    return 0;
}
