// dxf/in/block_filling.h: making and refilling the blocks a DXF file defines (internal), for
// every semantor, in a drawing's block table or in an external reference's. A block that never
// entered its table is destroyed with its entities, their handles given back; after a
// redefinition, finished or not, every entity has exactly one owner.
#pragma once

#include <veltcore/core/mylist.h>
#include <veltcore/core/point.h>
#include <veltcore/core/string.h>

class CBlock;
class CBlockFactory;
class CBlockTable;
class CEnt;
class CEntFactory;
class IHandleGestor;

namespace veltcore::dxfin {

// Where a read makes its blocks: the table that keeps them, the factory that makes them, and the
// entity factory and handle manager that their entities' handles came from.
struct BlockHome {
  CBlockTable& table;
  CBlockFactory& factory;
  CEntFactory& entFactory;
  IHandleGestor& gestor;
};

// Destroys a block that never entered a table, with its entities: their handles were only
// booked, so they are given back first. Runs while an error may be on its way out, which a
// failure to unbook must not replace.
void discardNewBlock(CEntFactory& entFactory, IHandleGestor& gestor, CBlock* block) noexcept;

// Adds a block the caller has just made. A block the table did not take is discarded before the
// error passes on; one it took is the table's, even half registered.
void addNewBlock(const BlockHome& home, CBlock* block);

// A new block of the factory (name, base, flags) holding the list's entities in order, added to
// the table; the list is left empty. SemantorError when the factory makes nothing. On any
// failure the block is destroyed, with the entities it had taken; the rest stay in the list.
CBlock* fillNewBlock(const BlockHome& home, const String& name, const PNT_3D& base, long flags,
                     std::mylist<CEnt*>& entities);

// Gives a block of the table new contents through CBlockTable::redefine and deletes the old
// ones; the list is left empty. A redefinition that would make the block contain itself raises
// SemantorError with nothing changed and the list still the caller's.
void redefineBlock(CBlockTable& table, CBlock* block, const PNT_3D& base, long flags,
                   std::mylist<CEnt*>& entities);

}  // namespace veltcore::dxfin
