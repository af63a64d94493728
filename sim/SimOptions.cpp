#include "sim/SimOptions.h"

#include "sim/NumberText.h"

#include <optional>

namespace qmxsim {

std::string SimUsage()
{
    return R"(Usage: qmx-sim [--image FILE] [--device PATH] [--no-pacing] [fault options]

A simulated QMX central device. It opens a pseudo-terminal (or the serial
port given with --device), prints the path a client must open as its first
line of output, and answers register requests until SIGINT or SIGTERM.

  --image FILE       device image to serve (default: qmx-demo.ini beside
                     the executable)
  --device PATH      serve this serial port (raw, 9600 8N1) instead of a
                     pseudo-terminal
  --no-pacing        answer at full speed instead of at 9600 bps
  --verbose          trace every request on standard error
  --help             show this text

Fault options (a request the device cannot answer always gets no reply):
  --silent           never answer
  --bad-crc          corrupt the CRC of every reply
  --wrong-address    echo the register address plus one
  --wrong-count      echo a word count one off (with data to match)
  --extra-bytes N    add N zero bytes before the CRC; clients accept 2 and 4
  --pause-ms N       pause N ms in the middle of every reply
  --fail-from N      answer transfers 1 .. N-1, then stay silent
  --fail-range A:B   stay silent for requests touching registers A..B
  --flood N          answer with N bytes that never form a reply
  --fail-transfer N  --silent, --bad-crc, --wrong-address, --wrong-count,
                     --extra-bytes, --pause-ms and --flood hit transfer N
                     only (1 = the first); without any of them transfer N
                     goes unanswered; may be given more than once
  --fail-every N     the same for every N-th transfer (N, 2N, ...)
  --ignore-writes    acknowledge every write but keep the old registers, so
                     the links read back are the ones before the write
  --random-faults SEED
                     instead: pick a fault at random for every transfer
                     (clean, bad CRC, a dropped or doubled byte, silence, a
                     pause of --pause-ms ms (default 200) in the middle, 1-4
                     extra bytes, a flood, noise before the reply, wrong
                     address or count); the same seed gives the same faults
  --fault-log FILE   write one line per transfer with its fault to FILE
                     (default: standard error)
)";
}

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error)
{
    Faults& f = options.faults;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // The value of an option that takes one.
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](int& out, long min, long max) {
            std::string text;
            if (!value(text))
                return false;
            const std::optional<long> n = parseInteger(text);
            if (!n || *n < min || *n > max) {
                error = arg + " takes a number from " + std::to_string(min) + " to " + std::to_string(max);
                return false;
            }
            out = static_cast<int>(*n);
            return true;
        };

        bool ok = true;
        if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--image")
            ok = value(options.image);
        else if (arg == "--device")
            ok = value(options.device);
        else if (arg == "--no-pacing")
            options.pacing = false;
        else if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--silent")
            f.silent = true;
        else if (arg == "--bad-crc")
            f.badCrc = true;
        else if (arg == "--wrong-address")
            f.wrongAddress = true;
        else if (arg == "--wrong-count")
            f.wrongCount = true;
        else if (arg == "--ignore-writes")
            f.ignoreWrites = true;
        else if (arg == "--extra-bytes")
            ok = number(f.extraBytes, 0, 255);
        else if (arg == "--pause-ms")
            ok = number(f.pauseMs, 0, 600000);
        else if (arg == "--fail-from")
            ok = number(f.failFrom, 1, 1 << 30);
        else if (arg == "--fail-transfer") {
            int transfer = 0;
            ok = number(transfer, 1, 1 << 30);
            f.failTransfers.push_back(transfer);
        } else if (arg == "--fail-every")
            ok = number(f.failEvery, 1, 1 << 30);
        else if (arg == "--flood")
            ok = number(f.floodBytes, 1, 1 << 24);
        else if (arg == "--random-faults") {
            std::string text;
            const std::optional<long> seed = (ok = value(text)) ? parseInteger(text) : std::nullopt;
            if (ok && !seed) {
                error = "--random-faults takes a seed, a number from 0";
                ok = false;
            }
            f.randomFaults = ok;
            f.randomSeed = static_cast<uint64_t>(seed.value_or(0));
        } else if (arg == "--fault-log")
            ok = value(options.faultLog);
        else if (arg == "--fail-range") {
            std::string text;
            ok = value(text);
            const std::size_t colon = text.find(':');
            std::optional<long> first;
            std::optional<long> last;
            if (ok && colon != std::string::npos) {
                first = parseInteger(std::string_view(text).substr(0, colon));
                last = parseInteger(std::string_view(text).substr(colon + 1));
            }
            if (ok && first && last && *first >= 0 && *first <= *last && *last <= 0xFFFF) {
                f.hasFailRange = true;
                f.failFirst = static_cast<uint16_t>(*first);
                f.failLast = static_cast<uint16_t>(*last);
            } else if (ok) {
                error = "--fail-range takes A:B, registers with A <= B <= 65535";
                ok = false;
            }
        } else {
            error = "unknown option " + arg;
            ok = false;
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace qmxsim
