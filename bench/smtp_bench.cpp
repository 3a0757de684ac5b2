// Sends 200 small mails and then one 10 MB mail over one SMTP session to the
// server on 127.0.0.1:PORT and prints the seconds each took; smtp_bench.py
// runs it beside Python's smtplib sending the same bytes to the same server.
//
//     smtp_bench.exe PORT SMALL_SOURCE_FILE BIG_SOURCE_FILE
// The two files receive the wire sources of the two messages (for the peer).
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/bench_args.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"

namespace {

TMimeMessage* MakeMessage(TComponent* owner, const std::string& text) {
    TMimeMessage* message = Create<TMimeMessage>(owner);
    message->SetTextEncoding(etNoEncoding);
    message->SetFrom("Vexmora", "monitor@example.com");
    message->To()->Add("Admin", "admin@example.com");
    message->SetSubject("Drive 0: temperature alert");
    message->SetTextPlain(text);
    message->RebuildBody();
    return message;
}

double Seconds(std::chrono::steady_clock::duration elapsed) {
    return std::chrono::duration<double>(elapsed).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: smtp_bench PORT SMALL_SOURCE_FILE BIG_SOURCE_FILE [--short]\n");
        return 2;
    }
    bench::ReadArguments(argc, argv);
    const int kSmallMails = bench::Rounds(200, 20);
    const std::size_t kBigSize = bench::IsShort() ? 1u << 20 : 10u << 20;
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    TMimeMessage* small =
        MakeMessage(owner.get(), "Drive 0 (ST3500418AS) reached 58 C; the limit is 55 C.\r\n");
    std::string big;
    big.reserve(kBigSize + 64);
    for (int i = 0; big.size() < kBigSize; ++i)
        big += "Attribute log line " + std::to_string(i) + " of the drive.\r\n";
    TMimeMessage* large = MakeMessage(owner.get(), big);

    TSMTPMailer* mailer = Create<TSMTPMailer>(owner.get());
    mailer->SetHost("127.0.0.1");
    mailer->SetPort(std::stoi(argv[1]));
    if (!mailer->Connect()) {
        std::fprintf(stderr, "cannot connect: %s\n", mailer->GetLastResponse().c_str());
        return 1;
    }
    mailer->SetMailMessage(small);
    const auto smallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kSmallMails; ++i) {
        if (!mailer->SendMessage()) {
            std::fprintf(stderr, "small mail %d failed: %s\n", i, mailer->GetLastResponse().c_str());
            return 1;
        }
    }
    const double smallSeconds = Seconds(std::chrono::steady_clock::now() - smallStart);
    mailer->SetMailMessage(large);
    const auto bigStart = std::chrono::steady_clock::now();
    if (!mailer->SendMessage()) {
        std::fprintf(stderr, "big mail failed: %s\n", mailer->GetLastResponse().c_str());
        return 1;
    }
    const double bigSeconds = Seconds(std::chrono::steady_clock::now() - bigStart);
    mailer->Quit();

    std::ofstream(argv[2], std::ios::binary) << small->GetSource();
    std::ofstream(argv[3], std::ios::binary) << large->GetSource();
    std::printf("small %d %.6f s\nbig %zu %.6f s\n", kSmallMails, smallSeconds, large->GetSource().size(),
                bigSeconds);
    return 0;
}
