// A scripted server on loopback for the SMTP client's tests: it accepts one
// connection and plays its steps in order (send, read a line, read the DATA
// text, read slowly, pause, close), recording what it read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TScriptStep {
    enum TKind { Send, Line, Data, Bytes, Pause, Close } Kind;
    std::string Text;       // Send: what to send
    std::size_t Count = 0;  // Bytes: how many to read
    int Milliseconds = 0;   // Pause: how long; Bytes: pause between reads
    std::size_t Piece = 0;  // Bytes: at most this many per read
};

TScriptStep Send(std::string text);
TScriptStep ReadLine();
TScriptStep ReadData();
TScriptStep ReadBytes(std::size_t count, std::size_t piece = 65536, int pauseMs = 0);
TScriptStep Pause(int milliseconds);
TScriptStep CloseConnection();

class TScriptServer {
public:
    explicit TScriptServer(std::vector<TScriptStep> steps);
    ~TScriptServer();
    TScriptServer(const TScriptServer&) = delete;
    TScriptServer& operator=(const TScriptServer&) = delete;

    int Port() const { return port_; }
    // Waits until the script has run (or its connection failed).
    void Join();
    // What the Line, Data and Bytes steps read, one entry per step (lines
    // without their CR LF); complete after Join.
    std::vector<std::string> Received();

    // A port on which nothing listens.
    static int ClosedPort();

private:
    void Run();
    bool ReadUntil(std::string& pending, const std::string& end, std::string& out);

    std::vector<TScriptStep> steps_;
    std::uintptr_t listener_;
    std::uintptr_t client_;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};
