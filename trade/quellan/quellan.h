// Quellan: the secure-socket library that carries the trade-server
// connection. The trading library loads it by name at run time and uses
// the nine entry points below (and the optional wait). A connection is an
// int handle, 0 = none.
//
// One whole trade message per SockRecv: the stream is cut at the end of
// each message as its own body-length field (1009) declares. Sends and
// receives on one handle may come from different threads at the same time.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QUELLAN_BUILD)
#define QUELLAN_API __attribute__((visibility("default")))
#else
#define QUELLAN_API
#endif

// Sets up the library: needSsl 0 = plain TCP, otherwise TLS with the server
// certificate verified against caFile and the client certificate certFile
// with its (possibly encrypted) key keyFile. Returns a non-zero context, 0
// on failure with a reason in errorText.
QUELLAN_API int SockInit(int needSsl, const char* caFile, const char* certFile, const char* keyFile,
                         const char* keyPassword, char* errorText, int errorTextSize);
// Connects within timeoutMs (TCP and TLS handshake); 0 with the handle in
// *socket, -1 on failure. Over TLS the server's certificate must also name
// host (its IP entry for an address, its DNS entry for a name).
QUELLAN_API int SockConnect(int* socket, const char* host, unsigned short port, int timeoutMs);
// 0 while the connection is up; -1 once it is lost, closed or unknown.
QUELLAN_API int SockGetConnStatus(int socket);
// A line describing the connection (peer, protocol, cipher); 0 or -1.
QUELLAN_API int SockGetSockInfo(int socket, char* info, int infoSize);
// Sends one whole message; 0, or -1 when the connection failed.
QUELLAN_API int SockSend(int socket, const char* data, int len);
// 0 with one whole message in *data / *len (the library's memory, given back
// with SockFreeMemory); -1 when none arrived within waitMs milliseconds or
// the connection is lost.
QUELLAN_API int SockRecv(int socket, char** data, int* len, int waitMs);
QUELLAN_API int SockFreeMemory(char* data);
// Waits until SockRecv has something to give (a whole message, or the news
// that the connection is lost) or the descriptor wakeFd (-1: none) turns
// readable, at most timeoutMs milliseconds (negative: no limit). 1 when
// the connection wants a SockRecv, 0 when woken or out of time, -1 for an
// unknown handle. Lets a reader sleep on its connection rather than ask it
// again and again; optional for the trading library, which polls without it.
QUELLAN_API int SockWaitReadable(int socket, int wakeFd, int timeoutMs);
QUELLAN_API int SockClose(int socket);
// Ends the context made by SockInit.
QUELLAN_API int SockDestroy(int context);

#ifdef __cplusplus
}
#endif

// The signatures as the trading library binds them.
typedef int (*PFN_SockInit)(int, const char*, const char*, const char*, const char*, char*, int);
typedef int (*PFN_SockConnect)(int*, const char*, unsigned short, int);
typedef int (*PFN_SockGetConnStatus)(int);
typedef int (*PFN_SockGetSockInfo)(int, char*, int);
typedef int (*PFN_SockSend)(int, const char*, int);
typedef int (*PFN_SockRecv)(int, char**, int*, int);
typedef int (*PFN_SockFreeMemory)(char*);
typedef int (*PFN_SockWaitReadable)(int, int, int);
typedef int (*PFN_SockClose)(int);
typedef int (*PFN_SockDestroy)(int);
