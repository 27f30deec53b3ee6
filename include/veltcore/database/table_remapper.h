// veltcore/database/table_remapper.h: CTableRemapper, which puts other layers, linetypes and
// text styles in the place of some, throughout one drawing: the text dashes of the linetype
// patterns, the layers' linetypes, and the layer, linetype and style of every entity of the
// blocks, of the external-reference blocks and of the drawing's entity table.
// The old items stay in their tables; afterwards nothing the remapper reaches uses them, so a
// caller can remove them.
#pragma once

#include <map>

class CData;
class CEnt;
class CLayer;
class CLtype;
class CStyle;

// A short-lived value: built, filled with ChangeInto, run with Remap, dropped. Items are paired
// by identity, never by name. Each use is looked up once: with A -> B and B -> C declared, what
// used A ends on B.
class CTableRemapper {
 public:
  // withXRefs: the linetype and layer passes also cover the linetypes and layers of the
  // external references. The external-reference blocks' entities are remapped either way.
  CTableRemapper(CData& data, bool withXRefs);

  // Records that newItem takes oldItem's place, replacing an earlier pair for oldItem; a null
  // newItem cancels that pair.
  void ChangeInto(CLayer* oldItem, CLayer* newItem);
  void ChangeInto(CLtype* oldItem, CLtype* newItem);
  void ChangeInto(CStyle* oldItem, CStyle* newItem);

  // Linetype patterns, then layers, then the blocks' entities, then the drawing's entities.
  // Running it again applies the same pairs again: nothing moves once no old item is in use.
  void Remap();

 private:
  CData& data_;
  std::map<CLayer*, CLayer*> layers_;
  std::map<CLtype*, CLtype*> ltypes_;
  std::map<CStyle*, CStyle*> styles_;
  bool withXRefs_;

  // The text dashes of every linetype but by layer and by block.
  void RemapLtypes();
  // The linetype of every layer, layer 0 first. (The name is spelt so on purpose.)
  void ReampLayers();
  // The entities of every block of the block table, then of every external-reference block.
  void RemapBlock();
  // The entities of the drawing's entity table.
  void RemapEntities();

  // Replaces each text dash whose style has a pair by a dash of the new style, in place.
  void remapDashes(CLtype& ltype) const;
  // Layer, linetype and style of one entity; its attributes or vertices are not visited.
  void remapEntity(CEnt& e) const;
};
