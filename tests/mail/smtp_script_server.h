// A scripted server on loopback for the SMTP client's tests: it accepts a
// connection (or several, one after another) and plays its steps in order (send, send a long run of one byte,
// trickle, read a line, read the DATA text, read slowly, pause, close or
// reset), recording what it read.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TScriptStep {
    enum TKind { Send, Flood, Trickle, Line, Data, Bytes, Pause, Close, Reset } Kind;
    std::string Text;       // Send, Trickle: what to send; Flood: the start
    std::size_t Count = 0;  // Bytes: how many to read; Flood: how many fill bytes
    int Milliseconds = 0;   // Pause: how long; Bytes: pause between reads; Trickle: between bytes
    std::size_t Piece = 0;  // Bytes: at most this many per read
    char Fill = 0;          // Flood: the byte repeated
};

// Text, then Count times Fill (until the client goes away), then CR LF.
constexpr std::size_t Endless = SIZE_MAX;

TScriptStep Send(std::string text);
TScriptStep Flood(std::string start, char fill, std::size_t count);
// One byte every pauseMs, until the text ends or the client goes away.
TScriptStep SendSlowly(std::string text, int pauseMs);
TScriptStep ReadLine();
TScriptStep ReadData();
TScriptStep ReadBytes(std::size_t count, std::size_t piece = 65536, int pauseMs = 0);
TScriptStep Pause(int milliseconds);
TScriptStep CloseConnection();
// Ends the connection with a reset rather than a close.
TScriptStep ResetConnection();

class TScriptServer {
public:
    // Plays the steps to each of Sessions connections in turn.
    explicit TScriptServer(std::vector<TScriptStep> steps, int Sessions = 1);
    ~TScriptServer();
    TScriptServer(const TScriptServer&) = delete;
    TScriptServer& operator=(const TScriptServer&) = delete;

    int Port() const { return port_; }
    // Waits until the script has run (or its connection failed).
    void Join();
    // What the Line, Data and Bytes steps read, one entry per step (lines
    // without their CR LF), session after session; complete after Join.
    std::vector<std::string> Received();
    // Whether a read found the connection reset: a client that closes with
    // data still unread resets it rather than closing it; complete after Join.
    bool ResetByPeer() const { return resetByPeer_; }

    // A port on which nothing listens.
    static int ClosedPort();

private:
    void Run();
    void Play();
    bool ReadUntil(std::string& pending, const std::string& end, std::string& out);

    std::vector<TScriptStep> steps_;
    int sessions_;
    std::uintptr_t listener_;
    std::uintptr_t client_;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> received_;
    std::atomic<bool> resetByPeer_ = false;
    std::thread thread_;
};
