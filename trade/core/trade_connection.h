// What the session store needs of the connection: sending one message.
// The communication thread is the one implementation.
#pragma once

class ITradeConnection {
 public:
  // Writes one whole message; the library's result, which callers ignore.
  virtual int Send(const char* data, int len) = 0;

 protected:
  ~ITradeConnection() = default;
};
