// database/referenced_blocks.h: the blocks that a list of entities references (internal).
// Only blocks that are not external references count: those never enter the block graph.
#pragma once

#include <list>

#include <veltcore/core/mylist.h>

class CBlock;
class CEnt;

namespace veltcore::database {

// In list order, the block of every block reference among ents, external references left out.
std::list<CBlock*> referencedBlocks(const std::mylist<CEnt*>& ents);

}  // namespace veltcore::database
