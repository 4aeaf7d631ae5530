// What the session store needs of the connection: sending one message.
// The communication thread is the one implementation.
#pragma once

class ITradeConnection {
 public:
  // Writes one whole message; 0, or -1 when it could not be sent.
  virtual int Send(const char* data, int len) = 0;

 protected:
  ~ITradeConnection() = default;
};
