// Times the mail codecs the way a message part uses them, on 16 MB of random
// bytes (or the file named on the command line): base64 and quoted-printable
// encoding (Decoded to Body) and decoding (Body to Decoded). One line per
// operation: its name, the best of five runs in seconds and MB/s of decoded
// data. bench/mime_bench.py runs this beside the distribution's `base64`
// command and Python's binascii on the same bytes and prints the ratios.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "classlib/core/exceptions.h"
#include "mail/mail_part.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int kRuns = 5;
constexpr size_t kDefaultSize = 16u << 20;

std::string RandomBytes(size_t size) {
    std::mt19937 engine(20240601);
    std::string bytes(size, '\0');
    for (size_t i = 0; i + 4 <= size; i += 4) {
        const std::uint32_t v = engine();
        for (int k = 0; k < 4; ++k) bytes[i + k] = static_cast<char>(v >> (8 * k));
    }
    return bytes;
}

std::string ReadFile(const std::string& fileName) {
    TOwned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
    stream->LoadFromFile(fileName);
    return TMailPart::StreamBytes(stream.get());
}

// Best time of kRuns calls of `prepare` (untimed) then `work` (timed).
template <class Prepare, class Work>
double BestSeconds(Prepare prepare, Work work) {
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        const auto start = TClock::now();
        work();
        const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
        if (seconds < best) best = seconds;
    }
    return best;
}

void Report(const char* name, double seconds, size_t bytes) {
    std::printf("%-14s %10.6f s %9.1f MB/s\n", name, seconds, bytes / seconds / (1 << 20));
}

bool TimeEncoding(const char* encodeName, const char* decodeName, TEncodingType encoding,
                  const std::string& data) {
    TOwned<TMailPart> part = MakeOwned<TMailPart>(nullptr);
    const double encodeSeconds = BestSeconds([&] { TMailPart::SetStreamBytes(part->Decoded(), data); },
                                             [&] { part->Encode(encoding); });
    const std::string body = TMailPart::StreamBytes(part->Body());
    const double decodeSeconds = BestSeconds(
        [&] {
            part->Decoded()->Clear();
            part->SetIsDecoded(false);
        },
        [&] { part->Decode(); });
    // Quoted-printable ends the last line; the bytes before must be the data.
    const std::string decoded = TMailPart::StreamBytes(part->Decoded());
    if (decoded.compare(0, data.size(), data) != 0) {
        std::printf("%s: the decoded bytes differ from the data\n", decodeName);
        return false;
    }
    Report(encodeName, encodeSeconds, data.size());
    Report(decodeName, decodeSeconds, data.size());
    std::printf("%-14s %10zu bytes\n", encoding == etBase64 ? "base64-text" : "qp-text", body.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string data = argc > 1 ? ReadFile(argv[1]) : RandomBytes(kDefaultSize);
        std::printf("data           %10zu bytes\n", data.size());
        const bool good = TimeEncoding("base64-encode", "base64-decode", etBase64, data) &&
                          TimeEncoding("qp-encode", "qp-decode", etQuotedPrintable, data);
        return good ? 0 : 1;
    } catch (const Exception& e) {
        std::printf("%s\n", e.Message().c_str());
        return 1;
    }
}
