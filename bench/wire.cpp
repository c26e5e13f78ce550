// SPDX-License-Identifier: GPL-3.0-or-later
// qncf-bench-wire: a serial line between the PC and the simulated converter, for timing
// transfers against the time their bytes need on a real line. A pseudo-terminal passes the
// PC's bytes on at once, and qnsim --pace only paces what the converter sends; this puts a
// pty of its own in front of the simulator's and hands each byte of the PC's to the converter
// one character time (10 bits at the speed the PC set) after the one before, taking no more
// from the PC than a UART's FIFO holds meanwhile. The converter's bytes go on to the PC as they
// come, and every byte each way is timed.
//
//   qncf-bench-wire SIM-DEVICE
//
// An "m" on standard input mutes the line towards the converter from then on: the PC's bytes
// are taken and dropped (and still listed, as handed over when read), so that every DH+ node
// looks silent to it.
//
// Prints the PC's device path on the first line and runs until standard input closes, then
// prints the traffic as runs of one direction, one a line (a write of the PC's onto an idle
// line starts a run of its own):
//   pc  FIRST-US LAST-US BYTES   (read from the PC .. handed to the converter)
//   sim FIRST-US LAST-US BYTES   (handed to the PC)
// with times in microseconds of CLOCK_MONOTONIC, and "baud N", the last speed the PC set.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t FifoBytes = 16; // what a UART takes ahead of the line

struct Speed
{
    speed_t code;
    int baud;
};
constexpr Speed Speeds[] = {{B300, 300},     {B600, 600},       {B1200, 1200},    {B2400, 2400},
                            {B4800, 4800},   {B9600, 9600},     {B19200, 19200},  {B38400, 38400},
                            {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};

long long nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

[[noreturn]] void die(const char *what)
{
    std::fprintf(stderr, "wire: %s: %s\n", what, std::strerror(errno));
    std::exit(2);
}

void makeRaw(int fd, speed_t speed)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        die("tcgetattr");
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(fd, TCSANOW, &tio) != 0)
        die("tcsetattr");
}

struct Run
{
    bool fromPc;
    long long first;
    long long last;
    long long bytes;
};

struct Traffic
{
    std::vector<Run> runs;

    void add(bool fromPc, long long first, long long last, long long bytes)
    {
        if (runs.empty() || runs.back().fromPc != fromPc)
            runs.push_back({fromPc, first, last, 0});
        runs.back().last = last;
        runs.back().bytes += bytes;
    }
    // A byte of the PC's reached the converter. A run begins with a byte the PC wrote onto an
    // idle line, and its time is when the PC wrote it.
    void delivered(long long readAt, long long at, bool ontoIdleLine)
    {
        if (runs.empty() || !runs.back().fromPc || ontoIdleLine)
            runs.push_back({true, readAt, at, 0});
        runs.back().last = at;
        runs.back().bytes += 1;
    }
    void print() const
    {
        for (const Run &r : runs)
            std::printf("%s %lld %lld %lld\n", r.fromPc ? "pc" : "sim", r.first / 1000, r.last / 1000,
                        r.bytes);
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SIM-DEVICE\n", argv[0]);
        return 2;
    }
    const int sim = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (sim < 0)
        die(argv[1]);
    makeRaw(sim, B9600);

    const int pc = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pc < 0 || grantpt(pc) != 0 || unlockpt(pc) != 0)
        die("posix_openpt");
    char name[128];
    if (ptsname_r(pc, name, sizeof name) != 0)
        die("ptsname");
    fcntl(pc, F_SETFL, fcntl(pc, F_GETFL) | O_NONBLOCK);
    // Our own hold on the PC's side, so the PC closing its port does not hang the line up.
    const int pcSlave = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (pcSlave < 0)
        die(name);
    makeRaw(pcSlave, B9600);
    std::printf("%s\n", name);
    std::fflush(stdout);

    Traffic traffic;
    int baud = 9600;
    speed_t speedCode = B9600;
    struct Pending
    {
        char byte;
        long long readAt;
        long long due;
        bool ontoIdleLine;
    };
    std::deque<Pending> toSim;
    std::string toPc;
    long long lineFreeAt = 0;
    bool simOpen = true;
    bool muted = false;

    for (;;) {
        pollfd fds[3] = {{0, POLLIN, 0}, {pc, 0, 0}, {sim, 0, 0}};
        if (toSim.size() < FifoBytes)
            fds[1].events |= POLLIN;
        if (!toPc.empty())
            fds[1].events |= POLLOUT;
        if (simOpen)
            fds[2].events = POLLIN;
        timespec wait{};
        timespec *timeout = nullptr;
        if (!toSim.empty()) {
            const long long left = std::max(0LL, toSim.front().due - nowNs());
            wait = {time_t(left / 1'000'000'000), long(left % 1'000'000'000)};
            timeout = &wait;
        }
        if (ppoll(fds, 3, timeout, nullptr) < 0 && errno != EINTR)
            die("ppoll");

        if (fds[0].revents & (POLLIN | POLLHUP)) {
            char c;
            if (read(0, &c, 1) <= 0)
                break;
            muted = muted || c == 'm';
        }
        if (fds[1].revents & POLLIN) {
            // The speed the PC set is the line's, and the converter's side is set the same.
            termios tio{};
            if (tcgetattr(pcSlave, &tio) == 0 && cfgetospeed(&tio) != speedCode) {
                for (const Speed &s : Speeds) {
                    if (s.code == cfgetospeed(&tio)) {
                        speedCode = s.code;
                        baud = s.baud;
                        makeRaw(sim, speedCode);
                    }
                }
            }
            char buf[FifoBytes];
            const ssize_t n = read(pc, buf, FifoBytes - toSim.size());
            const long long at = nowNs();
            const long long charNs = 10'000'000'000LL / baud;
            for (ssize_t i = 0; i < n; ++i) {
                if (muted) {
                    traffic.delivered(at, at, i == 0); // dropped, each write a run of its own
                    continue;
                }
                const bool idle = lineFreeAt < at;
                lineFreeAt = std::max(lineFreeAt, at) + charNs;
                toSim.push_back({buf[i], at, lineFreeAt, idle});
            }
        }
        while (!toSim.empty() && toSim.front().due <= nowNs()) {
            if (write(sim, &toSim.front().byte, 1) != 1) {
                // The converter's side is full or gone: try again in a millisecond, not in a spin.
                toSim.front().due = nowNs() + 1'000'000;
                break;
            }
            traffic.delivered(toSim.front().readAt, nowNs(), toSim.front().ontoIdleLine);
            toSim.pop_front();
        }
        if (simOpen && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buf[4096];
            const ssize_t n = read(sim, buf, sizeof buf);
            if (n > 0)
                toPc.append(buf, size_t(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                simOpen = false; // the simulator has gone
        }
        if (!toPc.empty()) {
            const ssize_t n = write(pc, toPc.data(), toPc.size());
            if (n > 0) {
                const long long at = nowNs();
                traffic.add(false, at, at, n);
                toPc.erase(0, size_t(n));
            }
        }
    }
    traffic.print();
    std::printf("baud %d\n", baud);
    return 0;
}
