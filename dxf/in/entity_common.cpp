// dxf/in/entity_common.cpp: the groups every entity record shares (5 handle, 6 linetype,
// 8 layer, 62 colour) and the checks at the end of a record. A layer an entity names and the
// LAYER table did not define is created on the spot, continuous and colour 7.
#include "dxf/in/version_readers.h"

#include <veltcore/database/block.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/lexer.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/linetypes/linetype.h>

namespace {

constexpr long kLayerBit = 1;
constexpr short kByLayer = 256;
constexpr short kWhite = 7;
constexpr long kXRefDependent = 16;

}  // namespace

CFileDXFIVersionReader::EntityCommon CFileDXFIVersionReader::beginEntity() {
  return EntityCommon{nullptr, semantor_.getLtypeByLayer(), 0, kByLayer, 0};
}

void CFileDXFIVersionReader::readCommonGroup(EntityCommon& c) {
  switch (group()) {
    case 5:
      if (semantor_.shouldRespectHandles()) c.handle = getHex();
      break;
    case 6: {
      if (value_.size() == 0) throw CFileDXFILexer::LexerErrorEmptyValue();
      CLtype* ltype = ltypes_.find(value_.c_str());
      if (ltype == nullptr) {
        ltype = semantor_.getLtype(String(value_.c_str()));
        if (ltype != nullptr) ltypes_.remember(value_.c_str(), ltype);
      }
      c.ltype = ltype != nullptr ? ltype : semantor_.getLtypeByLayer();
      break;
    }
    case 8:
      if (value_.size() == 0) throw CFileDXFILexer::LexerErrorEmptyValue();
      c.layer = namedLayer(value_.c_str());
      c.mask |= kLayerBit;
      break;
    case 62: {
      const long color = getInt();
      if (color < 0 || color > 256) throw CFileDXFIParser::BadValueParserError();
      c.color = static_cast<short>(color);
      break;
    }
    default:
      break;
  }
}

void CFileDXFIVersionReader::endEntity(const EntityCommon& c, long kind, long required) const {
  if (c.layer == nullptr) throw CFileDXFIParser::BadFileFormatParserError();
  if (c.mask != required) throw CFileDXFIParser::ReqAttrNotSpecifiedParserError(kind, c.mask);
}

// The layer of that name, created first when there is none; still null when the semantor
// declines to create it (the record then fails for want of a layer). A name with a bar,
// "REF|LAYER", is a layer of the external reference REF: it lives in the reference's own layer
// table, not the drawing's, so it is looked up there, before and after creating it.
CLayer* CFileDXFIVersionReader::namedLayer(const char* name) {
  if (CLayer* known = layers_.find(name)) return known;
  CLayer* layer = layerOf(String(name));
  if (layer != nullptr) layers_.remember(name, layer);
  return layer;
}

CLayer* CFileDXFIVersionReader::layerOf(const String& name) {
  if (CLayer* layer = semantor_.getLayer(name)) return layer;
  String xref, item;
  const bool dependent = scomposeName(name, xref, item);
  if (dependent) {
    if (CLayer* layer = xrefLayer(xref, item)) return layer;
  }
  CLtype* continuous = semantor_.getLtype("continuous");
  if (dependent) {
    semantor_.createLayerXRef(xref, item, continuous, kWhite, kXRefDependent);
    return xrefLayer(xref, item);
  }
  semantor_.createLayer(name, continuous, kWhite, 0);
  return semantor_.getLayer(name);
}

// The layer named item in the external reference named xref; null when either is missing.
CLayer* CFileDXFIVersionReader::xrefLayer(const String& xref, const String& item) {
  CBlock* block = semantor_.getBlock(xref);
  if (block == nullptr || !block->isXRef()) return nullptr;
  return static_cast<CBlockXRef*>(block)->getLayer(item);
}
