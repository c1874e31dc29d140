// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Drives the main window, offscreen, through a destination listing of five
// million rows: a deep add, a header-click sort, scrolling, select all, the
// removal of part of the rows and Make. A 10 ms timer records the largest gap
// between two turns of the event loop during the add, the removal and the
// write, and whether the busy pointer and the command's progress prompt showed
// at every turn. The sort is timed from the click until the window is idle
// again, against std::sort of the same names, case-folded, as plain strings.
//
// The resident memory the add took is printed too, in bytes a row.
//
// usage: window_bench [ROWS] [FOLDER]
//   ROWS    rows the deep add brings in (default 5000000)
//   FOLDER  keep the tree here and reuse it on the next run (made when
//           missing); without it a temporary tree is made and removed
#include "app/browse/treeimages.h"
#include "app/library/localgenfuns.h"
#include "app/window/frmPubMain.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/temptree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

using namespace mrb;

namespace
{

constexpr double gapGoalMs = 100;
constexpr double sortGoalRatio = 1.5;
constexpr double bytesGoal = 170;

// Resident memory of this process now, in bytes.
double residentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

std::uint64_t mix(std::uint64_t x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ull;
    return x ^ (x >> 33);
}

// Names as people keep them: a few words in either case, a number, an
// extension, so the sort meets shared beginnings and mixed letter case.
std::string fileName(long i)
{
    static const char *const words[] = {"Track",
        "track",
        "IMG",
        "img",
        "Report",
        "report",
        "Notes",
        "notes",
        "Invoice",
        "backup",
        "Photo",
        "song",
        "Draft",
        "readme",
        "Scan",
        "DSC"};
    static const char *const extensions[] = {".mp3", ".jpg", ".txt", ".pdf", ".ogg", ".PNG", ".cpp", ""};
    const std::uint64_t h = mix(static_cast<std::uint64_t>(i));
    char name[96];
    std::snprintf(name,
        sizeof name,
        "%s %s %05u-%ld%s",
        words[h % 16],
        words[(h >> 4) % 16],
        static_cast<unsigned>((h >> 8) % 100000),
        i,
        extensions[(h >> 28) % 8]);
    return name;
}

// The top folder, folders - 1 folders below it on two levels, and files spread
// over all of them: rows = 1 (the top) + folders + files, as a deep add of
// files and folders lists them. The files are empty, so each is a hard link to
// one of a few empty seed files beside the tree (a file system allows some
// tens of thousands of links to one file): linking costs half of what making
// a file costs, which matters at millions of rows; a listing shows the same.
void makeTree(const std::string &top, long rows)
{
    const long folders = std::max(1L, rows / 100);
    const long files = std::max(0L, rows - 1 - folders);
    const long firstLevel = std::min(folders, 100L);
    std::vector<std::string> folderPaths;
    ::mkdir(top.c_str(), 0755);
    for (long f = 0; f < folders; ++f) {
        char name[64];
        std::snprintf(name, sizeof name, "Album %05ld", f);
        const std::string path = f < firstLevel ? top + "/" + name : folderPaths[f % firstLevel] + "/" + name;
        if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
            std::perror(path.c_str());
            std::exit(2);
        }
        folderPaths.push_back(path);
    }
    const std::string seeds = top + ".seeds";
    std::filesystem::remove_all(seeds);
    ::mkdir(seeds.c_str(), 0755);
    constexpr long linksASeed = 50000;
    long links = 0;
    std::string seed;
    // folder by folder, so only one folder is open at a time: file i lies in
    // folder i % folders
    for (long f = 0; f < folders; ++f) {
        const int dir = ::open(folderPaths[static_cast<std::size_t>(f)].c_str(), O_RDONLY | O_DIRECTORY);
        for (long i = f; i < files; i += folders, ++links) {
            if (links % linksASeed == 0) {
                seed = seeds + "/" + std::to_string(links / linksASeed);
                const int fd = ::open(seed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0) {
                    std::perror(seed.c_str());
                    std::exit(2);
                }
                ::close(fd);
            }
            if (::linkat(AT_FDCWD, seed.c_str(), dir, fileName(i).c_str(), 0) != 0) {
                std::perror("linkat");
                std::exit(2);
            }
        }
        ::close(dir);
    }
}

// Runs the window's pending work until it is idle.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

double msSince(const QElapsedTimer &clock, qint64 startNs)
{
    return static_cast<double>(clock.nsecsElapsed() - startNs) / 1e6;
}

// Processor time of this thread (user and system), in nanoseconds: unlike the
// wall clock it does not count the time other processes on a busy machine
// take from us.
qint64 threadCpuNs()
{
    timespec t {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// A 10 ms timer: while a command runs, its timeouts come only as often as the
// command lets the window serve its events. Each gap is measured on the wall
// clock and in the processor time the window's thread spent in it.
class GapMeter
{
public:
    explicit GapMeter(std::function<bool()> showsProgress)
        : m_showsProgress(std::move(showsProgress))
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_clock.start();
    }

    void start()
    {
        m_last = m_clock.nsecsElapsed();
        m_lastCpu = threadCpuNs();
        m_largestNs = 0;
        m_largestCpuNs = 0;
        m_ticks = 0;
        m_ticksShowing = 0;
        m_timer.start();
    }
    void stop()
    {
        m_timer.stop();
        m_largestNs = std::max(m_largestNs, m_clock.nsecsElapsed() - m_last);
        m_largestCpuNs = std::max(m_largestCpuNs, threadCpuNs() - m_lastCpu);
    }

    double largestMs() const { return static_cast<double>(m_largestNs) / 1e6; }
    double largestCpuMs() const { return static_cast<double>(m_largestCpuNs) / 1e6; }
    int ticks() const { return m_ticks; }
    int ticksShowing() const { return m_ticksShowing; }

private:
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 cpu = threadCpuNs();
        m_largestNs = std::max(m_largestNs, now - m_last);
        m_largestCpuNs = std::max(m_largestCpuNs, cpu - m_lastCpu);
        if (qEnvironmentVariableIsSet("MRB_BENCH_GAPS") && cpu - m_lastCpu > 50000000)
            std::printf("  gap of %.0f ms (cpu %.0f ms)\n", (now - m_last) / 1e6, (cpu - m_lastCpu) / 1e6);
        m_last = now;
        m_lastCpu = cpu;
        ++m_ticks;
        if (m_showsProgress())
            ++m_ticksShowing;
    }

    std::function<bool()> m_showsProgress;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastCpu = 0;
    qint64 m_largestNs = 0;
    qint64 m_largestCpuNs = 0;
    int m_ticks = 0;
    int m_ticksShowing = 0;
};

struct PhaseResult {
    double seconds = 0;
    double largestGapMs = 0;
    double largestCpuGapMs = 0;
    int ticks = 0;
    int ticksShowing = 0;
};

// The goal is judged on the processor time of the largest gap, which is what
// the wall clock shows on a quiet machine; the wall clock is printed too.
bool report(const char *what, std::size_t rows, const PhaseResult &phase, const char *prompt)
{
    const bool allShowing = phase.ticksShowing == phase.ticks;
    const bool ok = phase.largestCpuGapMs <= gapGoalMs && allShowing;
    std::printf("window %s of %zu rows: %.2f s, largest event-loop gap %.0f ms cpu (%.0f ms wall; goal <= %.0f ms), "
                "busy pointer and \"%s\" at %d of %d turns: %s\n",
        what,
        rows,
        phase.seconds,
        phase.largestCpuGapMs,
        phase.largestGapMs,
        gapGoalMs,
        prompt,
        phase.ticksShowing,
        phase.ticks,
        ok ? "ok" : "SHORT");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    test::TempTree work;
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(work.dir("runtime")));
    ::chmod(work.path("runtime").c_str(), 0700);
    QApplication app(argc, argv);

    const long rows = argc > 1 ? std::atol(argv[1]) : 5000000;
    std::string holder = argc > 2 ? argv[2] : work.dir("trees");
    ::mkdir(holder.c_str(), 0755);
    holder = std::filesystem::absolute(holder).lexically_normal().string();
    if (holder.size() > 1 && holder.back() == '/')
        holder.pop_back();
    const std::string top = holder + "/tree";
    const std::string made = holder + "/made";
    {
        std::ifstream in(made);
        long madeRows = 0;
        if (!(in >> madeRows) || madeRows != rows) {
            std::printf("making a tree of %ld rows in %s\n", rows, top.c_str());
            std::filesystem::remove_all(top);
            makeTree(top, rows);
            std::ofstream(made) << rows << "\n";
        }
    }

    ui::StartupObjects objects;
    auto api = std::make_unique<test::FakeApiFuns>();
    api->saveAnswer = work.path("listing.txt");
    objects.api = std::move(api);
    objects.gen = std::make_unique<core::LocalGenFuns>();
    objects.libraryLoaded = true;
    objects.fs = std::make_unique<platform::PosixFileSystem>();
    objects.programFolder = work.dir("program");
    std::vector<std::string> messages;
    objects.messageSink = [&messages](const std::string &text, core::MessageIcon) { messages.push_back(text); };
    ui::frmPubMain window(std::move(objects));
    window.show();
    settle();

    core::SettingsRecord &settings = window.workspace().settingsStore().record();
    settings.setValue(core::Setting::CommonSub, "True");
    settings.setValue(core::Setting::CommonItem, "FF");
    settings.setValue(core::Setting::SystemDialog, "True");
    settings.setValue(core::Setting::OutputFileType, "Customize");
    settings.setValue(core::Setting::OutputStandard, "False");
    settings.setValue(core::Setting::OutputDelete, "False");

    auto *source = window.findChild<QTreeView *>(QStringLiteral("lsvSource"));
    auto *target = window.findChild<QTreeView *>(QStringLiteral("lsvTarget"));
    auto *prompt = window.findChild<QLabel *>(QStringLiteral("stbPanel3"));
    platform::ListModel &destination = window.destinationListing();

    QString expected;
    GapMeter meter([&] {
        const QCursor *cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor && prompt->text().startsWith(expected);
    });
    QElapsedTimer clock;
    clock.start();
    const auto phase = [&](const QString &progress, const std::function<void()> &command) {
        expected = progress;
        meter.start();
        const qint64 start = clock.nsecsElapsed();
        command();
        meter.stop();
        PhaseResult result;
        result.seconds = msSince(clock, start) / 1000;
        settle();
        result.largestGapMs = meter.largestMs();
        result.largestCpuGapMs = meter.largestCpuMs();
        result.ticks = meter.ticks();
        result.ticksShowing = meter.ticksShowing();
        return result;
    };

    // The deep add: the tree's folder selected in the source listing, then Add.
    window.folderTree().add({holder, holder, "", core::driveImage, core::driveImage, false});
    window.workspace().sourceListing().ShowFolder(holder);
    settle();
    for (std::size_t r = 1; r <= window.sourceListing().rowCount(); ++r) {
        if (window.sourceListing().text(r) == "tree") {
            const QModelIndex index = source->model()->index(static_cast<int>(r) - 1, 0);
            source->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    const double residentBefore = residentBytes();
    const PhaseResult add = phase(QStringLiteral(" Adding "), [&] { window.action("mensa")->trigger(); });
    const std::size_t added = destination.rowCount();
    bool ok = report("add", added, add, " Adding ");
    const double bytesARow = (residentBytes() - residentBefore) / static_cast<double>(std::max<std::size_t>(added, 1));
    const bool memoryOk = bytesARow <= bytesGoal;
    ok = ok && memoryOk;
    std::printf("window memory of %zu rows: %.0f bytes a row, listing and view (goal <= %.0f): %s\n",
        added,
        bytesARow,
        bytesGoal,
        memoryOk ? "ok" : "SHORT");

    // Three header clicks (Name, Path, Name again, each from the order the
    // one before left), each against std::sort of the clicked column's texts,
    // case-folded, as plain strings, right before it. Processor time on both
    // sides; the click is timed until the window is idle again.
    QHeaderView *header = target->header();
    double clicks = 0;
    double references = 0;
    std::string rounds;
    for (const int section : {0, 1, 0}) {
        std::vector<std::string> folded;
        folded.reserve(added);
        for (std::size_t r = 1; r <= added; ++r) {
            std::string text(section == 0 ? destination.text(r) : destination.subItem(r, section));
            for (char &c : text)
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            folded.push_back(std::move(text));
        }
        const qint64 referenceStart = threadCpuNs();
        std::sort(folded.begin(), folded.end());
        const double reference = static_cast<double>(threadCpuNs() - referenceStart) / 1e9;
        folded = {};

        const QPoint onHeader(header->sectionViewportPosition(section) + 10, header->height() / 2);
        const qint64 clickStart = threadCpuNs();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, onHeader);
        settle();
        const double click = static_cast<double>(threadCpuNs() - clickStart) / 1e9;
        clicks += click;
        references += reference;
        char round[96];
        std::snprintf(round,
            sizeof round,
            "%s%s %.3f/%.3f s",
            rounds.empty() ? "" : ", ",
            section == 0 ? "Name" : "Path",
            click,
            reference);
        rounds += round;
    }
    const double ratio = clicks / references;
    const bool sortOk = ratio <= sortGoalRatio && destination.isSorted();
    ok = ok && sortOk;
    std::printf("window header-click sort of %zu rows: %.3f s cpu in 3 clicks, case-folded byte sort %.3f s: %.2fx "
                "(goal <= %.1fx; %s): %s\n",
        added,
        clicks,
        references,
        ratio,
        sortGoalRatio,
        rounds.c_str(),
        sortOk ? "ok" : "SHORT");

    // Scrolling to the end and back, and select all: timed, for the record.
    const qint64 scrollStart = clock.nsecsElapsed();
    for (const int step : {1, 2, 3, 4}) {
        QScrollBar *bar = target->verticalScrollBar();
        bar->setValue(bar->maximum() * step / 4);
        settle();
    }
    target->scrollToTop();
    settle();
    const double scrollSeconds = msSince(clock, scrollStart) / 1000;
    const qint64 selectStart = clock.nsecsElapsed();
    window.action("menda")->trigger();
    settle();
    const double selectSeconds = msSince(clock, selectStart) / 1000;
    std::printf("window scroll through %zu rows: %.3f s; select all: %.3f s (%zu selected)\n",
        added,
        scrollSeconds,
        selectSeconds,
        destination.selectedCount());

    // Part of the rows stays: a block in the middle and a few single rows are
    // taken out of the selection, as Ctrl with clicks would.
    {
        QItemSelectionModel *selection = target->selectionModel();
        QAbstractItemModel *model = target->model();
        const int n = model->rowCount();
        const int lastColumn = model->columnCount() - 1;
        selection->select(
            QItemSelection(model->index(n / 4, 0), model->index(n / 2, lastColumn)), QItemSelectionModel::Deselect);
        for (int i = 1; i <= 10; ++i) {
            const int row = n / 2 + i * (n / 25);
            if (row < n)
                selection->select(
                    QItemSelection(model->index(row, 0), model->index(row, lastColumn)), QItemSelectionModel::Deselect);
        }
        settle();
    }
    const std::size_t doomed = destination.selectedCount();
    const PhaseResult remove = phase(QStringLiteral(" Removing "), [&] { window.action("mendr")->trigger(); });
    ok = report("remove", doomed, remove, " Removing ") && ok;
    if (destination.rowCount() != added - doomed) {
        std::printf("window remove: %zu rows left, %zu expected: SHORT\n", destination.rowCount(), added - doomed);
        ok = false;
    }

    const std::size_t written = destination.rowCount();
    messages.clear();
    const PhaseResult write = phase(QStringLiteral(" Outputting "), [&] { window.action("mentm")->trigger(); });
    ok = report("write", written, write, " Outputting ") && ok;
    const std::string closing =
        "Outputted " + std::to_string(written) + " items to '" + work.path("listing.txt") + "' successfully!";
    if (messages.empty() || messages.back() != closing) {
        std::printf("window write: no closing message for %zu rows: SHORT\n", written);
        ok = false;
    }
    return ok ? 0 : 1;
}
