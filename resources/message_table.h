// resources/message_table.h: lookup in the message table compiled into the library.
// Internal: only the message loader (core/string_loader.cpp) reads it.
#pragma once

namespace veltcore::resources {

// The UTF-8 text of message id, or nullptr when the table has no such message.
const char* findMessage(unsigned int id);

}  // namespace veltcore::resources
