// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The deep add and write of a tree on a network mount: an sshd of its own on
// 127.0.0.1 (its host key and a key pair in the scratch folder) serves the
// tree, sshfs mounts it afresh before every run, and 1 ms of latency is added
// to the loopback device with `tc qdisc ... netem` where that is permitted (a
// line says when it is not; it is removed again at the end, as is the sshd).
// Then `mrb-list -o deep.txt` (field table, every field on) and, in turn,
// `find -printf` with sizes and dates, `fdfind -u` and `bfs -printf` on the
// mount, each as its own process writing a file. Goal: the median of the
// rounds' wall-clock ratios is at most 0.25 of find's. Needs the Debian
// packages openssh-server and sshfs (scripts/packages/bench.txt); a line says
// it was skipped without them.
//
// usage: sshfswalk_bench [FILES] [FOLDERS] [ROUNDS]
//   defaults: 5000 files in 500 folders (5,501 rows), 3 rounds
#include "bench/benchutil.h"
#include "bench/treemaker.h"
#include "bench/walkcompare.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace mrb;

namespace
{

// Everything the benchmark started or changed, undone when it ends, also on Ctrl+C.
struct Setup {
    std::string mountPoint;
    bool mounted = false;
    pid_t sshd = -1;
    bool latencyAdded = false;

    void unmount()
    {
        if (mounted)
            mounted =
                std::system(("fusermount3 -u '" + mountPoint + "' || fusermount -u '" + mountPoint + "'").c_str()) != 0;
    }
    void undo()
    {
        unmount();
        if (sshd > 0) {
            ::kill(sshd, SIGTERM);
            ::waitpid(sshd, nullptr, 0);
            sshd = -1;
        }
        if (latencyAdded && std::system("tc qdisc del dev lo root") == 0)
            latencyAdded = false;
    }
};

Setup *g_setup = nullptr;

void undoAndLeave(int)
{
    if (g_setup)
        g_setup->undo();
    std::_Exit(130);
}

bool run(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

bool accepts(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

// What the set-up commands said, to show when they failed (the scratch folder goes).
std::string said(const std::string &log)
{
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.empty() ? "nothing said" : text;
}

pid_t startSshd(const std::string &config, const std::string &log)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::string redirect = log;
        std::freopen(redirect.c_str(), "a", stderr);
        ::execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-e", "-f", config.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    return pid;
}

} // namespace

int main(int argc, char **argv)
{
    bench::useBenchLocale();
    const long files = argc > 1 ? std::atol(argv[1]) : 5000;
    const long folders = argc > 2 ? std::atol(argv[2]) : 500;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;

    if (::access("/usr/sbin/sshd", X_OK) != 0 || !bench::onPath("sshfs") || !bench::onPath("ssh-keygen")) {
        std::printf("deep add on an sshfs mount vs find: skipped (needs openssh-server and sshfs)\n");
        return 0;
    }
    bench::ScratchFolder scratch("sshfs");
    const std::string dir = scratch.path();
    const std::string root = dir + "/tree";
    ::mkdir(root.c_str(), 0755);
    if (!bench::makeTree(root, files, folders))
        return 2;
    const std::string log = dir + "/setup.log";
    if (!run("ssh-keygen -q -t ed25519 -N '' -f '" + dir + "/host_key' >>'" + log + "' 2>&1")
        || !run("ssh-keygen -q -t ed25519 -N '' -f '" + dir + "/client_key' >>'" + log + "' 2>&1")
        || !run("cp '" + dir + "/client_key.pub' '" + dir + "/authorized_keys'")) {
        std::printf(
            "deep add on an sshfs mount vs find: skipped (the keys could not be made: %s)\n", said(log).c_str());
        return 1;
    }
    const int port = freePort();
    {
        std::ofstream config(dir + "/sshd_config");
        config << "Port " << port << "\nListenAddress 127.0.0.1\nHostKey " << dir << "/host_key\nPidFile " << dir
               << "/sshd.pid\nAuthorizedKeysFile " << dir
               << "/authorized_keys\nStrictModes no\nUsePAM no\nPasswordAuthentication no\n"
                  "KbdInteractiveAuthentication no\nPermitRootLogin prohibit-password\n"
                  "Subsystem sftp internal-sftp\nLogLevel ERROR\n";
    }
    ::mkdir("/run/sshd", 0755); // sshd's own privilege-separation folder

    Setup setup;
    g_setup = &setup;
    std::signal(SIGINT, undoAndLeave);
    std::signal(SIGTERM, undoAndLeave);
    setup.sshd = startSshd(dir + "/sshd_config", log);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!accepts(port) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::string tcLog = dir + "/tc.log";
    setup.latencyAdded = run("tc qdisc add dev lo root netem delay 1ms 2>'" + tcLog + "'");
    std::printf("sshd on 127.0.0.1:%d; %s%s\n",
        port,
        setup.latencyAdded ? "1 ms of latency added to the loopback device (netem)"
                           : "no latency added, tc netem refused: ",
        setup.latencyAdded ? "" : said(tcLog).c_str());

    setup.mountPoint = dir + "/mnt";
    ::mkdir(setup.mountPoint.c_str(), 0755);
    const passwd *user = ::getpwuid(::geteuid());
    const std::string mount = "sshfs -o port=" + std::to_string(port) + ",IdentityFile=" + dir
        + "/client_key,StrictHostKeyChecking=no,UserKnownHostsFile=" + dir + "/known_hosts,BatchMode=yes "
        + (user ? user->pw_name : "root") + "@127.0.0.1:'" + root + "' '" + setup.mountPoint + "' 2>>'" + log + "'";
    const auto remount = [&] {
        setup.unmount();
        setup.mounted = run(mount);
    };
    remount();
    if (!setup.mounted) {
        std::printf("deep add on an sshfs mount vs find: the mount failed: %s\n", said(log).c_str());
        setup.undo();
        return 1;
    }
    const auto listers = bench::treeListers(dir, setup.mountPoint);
    const auto figures = bench::compareListers(listers, rounds, remount);
    setup.undo();
    char what[96];
    std::snprintf(what, sizeof what, "deep add + write of %ld entries on sshfs", files + folders + 1);
    return bench::reportListers(what, listers, figures, 0.25) ? 0 : 1;
}
