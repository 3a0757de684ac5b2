// The Windows Sockets calls the program makes, through ws2_32 loaded and
// started at the first of them rather than at the program's start: most
// starts send no mail, and a library loaded at start costs every start its
// pages. Winsock() answers the table, loading the library and starting
// Winsock 2 the first time; both stay for the program's life. A system
// without ws2_32 gets ESocketError from that first call.
#pragma once

// Winsock 2 must come before <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>

struct TWinsock {
    decltype(&::socket) socket;
    decltype(&::connect) connect;
    decltype(&::send) send;
    decltype(&::recv) recv;
    decltype(&::closesocket) closesocket;
    decltype(&::setsockopt) setsockopt;
    decltype(&::ioctlsocket) ioctlsocket;
    decltype(&::getsockname) getsockname;
    decltype(&::gethostname) gethostname;
    decltype(&::getaddrinfo) getaddrinfo;
    decltype(&::freeaddrinfo) freeaddrinfo;
    decltype(&::inet_pton) inet_pton;
    decltype(&::inet_ntop) inet_ntop;
    decltype(&::htons) htons;
    decltype(&::ntohs) ntohs;
    decltype(&::WSAGetLastError) WSAGetLastError;
    decltype(&::WSAEventSelect) WSAEventSelect;
    decltype(&::WSAEnumNetworkEvents) WSAEnumNetworkEvents;
};

const TWinsock& Winsock();
