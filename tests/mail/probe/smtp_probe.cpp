// Plays one SMTP scenario for the integration tests: builds a message from
// the command line, runs Connect, SendMessage and Quit as the application
// does, and prints each result and reply as "key=value" lines.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"

namespace {

// Line ends and backslashes escaped, so that every value stays on its line.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

void Print(const std::string& key, const std::string& value) {
    std::printf("%s=%s\n", key.c_str(), Escape(value).c_str());
    std::fflush(stdout);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TOptions {
    std::multimap<std::string, std::string> Values;
    std::string Get(const std::string& key, const std::string& fallback = "") const {
        auto it = Values.find(key);
        return it == Values.end() ? fallback : it->second;
    }
    std::vector<std::string> All(const std::string& key) const {
        std::vector<std::string> all;
        for (auto [it, end] = Values.equal_range(key); it != end; ++it) all.push_back(it->second);
        return all;
    }
};

int Run(const TOptions& options) {
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    TSMTPMailer* mailer = Create<TSMTPMailer>(owner.get());
    mailer->SetName("SMTPM");
    mailer->SetHost(options.Get("host", "127.0.0.1"));
    mailer->SetPort(std::stoi(options.Get("port", "25")));
    mailer->SetTimeOut(std::stoi(options.Get("timeout", "60")));
    mailer->SetUserName(options.Get("user"));
    mailer->SetPassword(options.Get("password"));
    if (options.Get("manual") == "1") mailer->SetHandshaking(hsManual);

    TMimeMessage* message = Create<TMimeMessage>(owner.get());
    if (options.Get("raw") == "1") message->SetTextEncoding(etNoEncoding);
    message->SetFrom("Vexmora", options.Get("from", "monitor@example.com"));
    message->To()->Clear();
    for (const std::string& to : options.All("to")) message->To()->Add("", to);
    for (const std::string& cc : options.All("cc")) message->Cc()->Add("", cc);
    for (const std::string& bcc : options.All("bcc")) message->Bcc()->Add("", bcc);
    message->SetSubject(options.Get("subject", "Vexmora alert"));
    const std::string body = options.Get("body");
    message->SetTextPlain(body.empty() ? std::string("Drive 0 needs attention.\r\n") : ReadFile(body));
    if (message->NeedNormalize()) message->Normalize(0);
    if (message->NeedRebuild()) message->RebuildBody();
    if (message->NeedFindParts()) message->FindParts();
    mailer->SetMailMessage(message);

    bool connected = mailer->Connect();
    Print("connect", connected ? "1" : "0");
    Print("connect_response", mailer->GetLastResponse());
    if (!connected && !options.Get("retry_password").empty()) {
        mailer->SetPassword(options.Get("retry_password"));
        connected = mailer->Connect();
        Print("connect2", connected ? "1" : "0");
        Print("connect2_response", mailer->GetLastResponse());
    }
    const std::string steps = options.Get("steps", "send,quit");
    if (steps.find("send") != std::string::npos) {
        const bool sent = mailer->SendMessage();
        Print("send", sent ? "1" : "0");
        Print("send_response", mailer->GetLastResponse());
        const std::string dump = options.Get("dump");
        if (!dump.empty()) std::ofstream(dump, std::ios::binary) << message->GetSource();
    }
    if (steps.find("quit") != std::string::npos) {
        const bool quit = mailer->Quit();
        Print("quit", quit ? "1" : "0");
        Print("quit_response", mailer->GetLastResponse());
    }
    return 0;
}

}  // namespace

// Arguments: key=value pairs; "to", "cc" and "bcc" may repeat.
int main(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        if (eq != std::string::npos) options.Values.emplace(arg.substr(0, eq), arg.substr(eq + 1));
    }
    try {
        return Run(options);
    } catch (const std::exception& e) {
        Print("exception", e.what());
        return 1;
    }
}
