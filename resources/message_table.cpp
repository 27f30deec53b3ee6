// resources/message_table.cpp: the message table itself, generated from messages_it.tsv,
// and its lookup by id (binary search; the build refuses a table whose ids are not sorted).
#include "resources/message_table.h"

#include <algorithm>
#include <iterator>

namespace veltcore::resources {
namespace {

struct Message {
  unsigned int id;
  const char* text;
};

constexpr Message kMessages[] = {
#include "messages_it.inc"
};

constexpr bool sortedById() {
  for (std::size_t i = 1; i < std::size(kMessages); ++i)
    if (kMessages[i - 1].id >= kMessages[i].id) return false;
  return true;
}
static_assert(sortedById(), "messages_it.tsv must list ids in increasing order, once each");

}  // namespace

const char* findMessage(unsigned int id) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                             [](const Message& m, unsigned int v) { return m.id < v; });
  if (it == std::end(kMessages) || it->id != id) return nullptr;
  return it->text;
}

}  // namespace veltcore::resources
