// virtual_can_device: the virtual USB-CAN adapter as a program. Prints the pty path to
// open as the adapter's port on its first line, then serves until SIGINT or SIGTERM.
#include "virtual_can_adapter.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <pthread.h>
#include <string>
#include <vector>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: virtual_can_device [options]\n"
                 "  --node ID           add a node (1-127; repeatable; default 5)\n"
                 "  --name TEXT         device name, object 0x1008 (default \"Virtual device\")\n"
                 "  --stored-eds FILE   contents of object 0x1021 (stored EDS)\n"
                 "  --storage-format N  object 0x1022 (e.g. 128 for an archive)\n"
                 "  --delay MS          hold every answer back MS milliseconds\n"
                 "  --lower-case        answer in lower-case hex\n"
                 "  --split MS          write each line in two parts, MS apart\n"
                 "  --garbage TEXT      write TEXT before every line\n"
                 "  --replies           send status replies like a real adapter\n"
                 "  --verbose           print every line on standard error at exit\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> nodeIds;
    std::string name = "Virtual device";
    std::string storedEds;
    long storageFormat = -1;
    long delayMs = 0;
    long splitMs = -1;
    bool lowerCase = false;
    bool replies = false;
    bool verbose = false;
    std::string garbage;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--node" && hasValue) {
            const long id = std::strtol(argv[++i], nullptr, 0);
            if (id < 1 || id > 127) {
                std::fprintf(stderr, "virtual_can_device: node id %ld is not 1 to 127\n", id);
                return 2;
            }
            nodeIds.push_back(static_cast<int>(id));
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if (arg == "--stored-eds" && hasValue) {
            storedEds = argv[++i];
        } else if (arg == "--storage-format" && hasValue) {
            storageFormat = std::strtol(argv[++i], nullptr, 0);
        } else if (arg == "--delay" && hasValue) {
            delayMs = std::strtol(argv[++i], nullptr, 0);
        } else if (arg == "--split" && hasValue) {
            splitMs = std::strtol(argv[++i], nullptr, 0);
        } else if (arg == "--garbage" && hasValue) {
            garbage = argv[++i];
        } else if (arg == "--lower-case") {
            lowerCase = true;
        } else if (arg == "--replies") {
            replies = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else {
            usage();
            return 2;
        }
    }
    if (nodeIds.empty())
        nodeIds.push_back(5);

    std::vector<uint8_t> edsBytes;
    if (!storedEds.empty()) {
        std::ifstream file(storedEds, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "virtual_can_device: cannot read %s\n", storedEds.c_str());
            return 2;
        }
        edsBytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    // Block the stop signals before the serving thread starts, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    veqtest::VirtualCanAdapter adapter;
    for (int id : nodeIds) {
        veqtest::VirtualNode& node = adapter.addNode(static_cast<uint8_t>(id));
        node.addStandardObjects(name);
        node.setAnswerDelay(std::chrono::milliseconds(delayMs));
        if (!storedEds.empty())
            node.setDomain(0x1021, 0, edsBytes, veqtest::Access::ReadOnly);
        if (storageFormat >= 0)
            node.setU8(0x1022, 0, static_cast<uint8_t>(storageFormat), veqtest::Access::ReadOnly);
    }
    adapter.setLowerCaseHex(lowerCase);
    adapter.setGarbageBetweenLines(garbage);
    adapter.setCommandReplies(replies);
    if (splitMs >= 0)
        adapter.setSplitLines(true, std::chrono::milliseconds(splitMs));

    std::string error;
    if (!adapter.start(&error)) {
        std::fprintf(stderr, "virtual_can_device: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", adapter.portPath().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    adapter.stop();
    if (verbose) {
        for (const veqtest::WireLine& line : adapter.log().lines()) {
            std::fprintf(stderr, "%s %s\n",
                         line.direction == veqtest::WireDirection::FromMaster ? "<-" : "->",
                         line.text.c_str());
        }
    }
    return 0;
}
