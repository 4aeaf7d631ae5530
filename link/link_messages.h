// Window messages, notification codes and timer ids of the quote link.
// The client program includes this header for WM_LINK_PROGRESS.
#pragma once
#include "platform/types.h"

// Link window -> progress window (sent): wParam percent, lParam GBK text
// valid during the call.
constexpr UINT WM_LINK_PROGRESS = 0x466;
// Receive thread -> link window (posted): bodies wait on the connection
// lParam; the window takes them with CLinkSocket::DeliverReceived and
// hands each to its body handler, in order. One message per run of
// bodies, not per body.
constexpr UINT WM_LINK_DATA_BATCH = 0x4DE;
// Connection threads -> link window: wParam a COMM_ code, lParam the
// connection object or 0.
constexpr UINT WM_COMMNOTIFY = 0x44;

constexpr WPARAM COMM_ERROR = 1;
constexpr WPARAM COMM_CONNECTED = 2;
constexpr WPARAM COMM_THREAD_END = 4;
constexpr WPARAM COMM_TIMEOUT = 5;

// Timers on the link window.
constexpr UINT_PTR LINK_TIMER_KEEPALIVE = 11;
constexpr UINT_PTR LINK_TIMER_SAVING = 13;
