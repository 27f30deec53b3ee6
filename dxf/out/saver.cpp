// dxf/out/saver.cpp: CFileDXFOSaver and SaveDXF, the section-by-section writing of a drawing.
// Every table-item name goes through the saver's one converter, so a record and every
// reference to its item carry the same text. The file is opened and closed here.
#include <veltcore/dxf/out/saver.h>

#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/dxf/out/block_writer.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/geometry/font.h>
#include <veltcore/linetypes/linetype.h>

#include "dxf/out/dxf_units.h"

using veltcore::dxf::kDegreesPerRadian;

CFileDXFOSaver::CFileDXFOSaver(const CData& data, IFile& file, unsigned int flags)
    : data_(data),
      file_(file),
      writer_(file),
      visitor_(data, writer_, (flags & kFlat) != 0),
      converter_(data),
      flags_(flags) {
  visitor_.SetACADNameConverter(converter_);
}

CFileDXFOSaver::~CFileDXFOSaver() = default;

void CFileDXFOSaver::save() {
  file_.open();
  try {
    if ((flags_ & kNoHeaderTables) == 0) {
      writeHeaders();
      writeTables();
    }
    writeBlocks();
    writeEntities();
    write(0, "EOF");
    file_.close();
  } catch (const IFile::IFileDiskFull&) {
    // The file on disk stays cut short where the write failed.
    file_.close();
    throw;
  }
}

void CFileDXFOSaver::writeHeaders() {
  const CDataVariables& vars = data_.getVars();
  write(0, "SECTION");
  write(2, "HEADER");
  write(9, "$ACADVER");
  write(1, "AC1009");
  write(9, "$LIMMIN");
  write(10, vars.getLimMin().getX());
  write(20, vars.getLimMin().getY());
  write(9, "$LIMMAX");
  write(10, vars.getLimMax().getX());
  write(20, vars.getLimMax().getY());
  write(9, "$LTSCALE");
  write(40, vars.getLtypeScale());
  write(9, "$TEXTSTYLE");
  write(7, converter_.GetName(vars.getCurStyle()).c_str());
  write(9, "$CLAYER");
  write(8, converter_.GetName(vars.getCurLayer()).c_str());
  write(9, "$CELTYPE");
  write(6, converter_.GetName(vars.getCurLtype()).c_str());
  write(9, "$ORTHOMODE");
  write(70, vars.isOrtho());
  write(9, "$PLINEGEN");
  write(70, vars.isPLineGen());
  write(9, "$PLINEWID");
  write(40, vars.getPLineWid());
  write(9, "$AUNITS");
  write(70, static_cast<long>(vars.getAngFormat()));
  write(9, "$ANGBASE");
  write(50, vars.getAngDir() * kDegreesPerRadian);
  write(9, "$ANGDIR");
  write(70, vars.isAngClockWise());
  // $CECOLOR is left out on purpose: the header holds exactly these thirteen variables.
  write(0, "ENDSEC");
}

void CFileDXFOSaver::writeTables() {
  write(0, "SECTION");
  write(2, "TABLES");
  writeTableLtypes();
  writeTableLayers();
  writeTableStyles();
  write(0, "ENDSEC");
}

void CFileDXFOSaver::writeTableLtypes() {
  // By layer and by block are references to other linetypes, not records of the table.
  CData::CLtypeIterator it(data_, true, false);
  write(0, "TABLE");
  write(2, "LTYPE");
  write(70, it.size());
  for (; *it != nullptr; ++it) {
    const CLtype& lt = **it;
    write(0, "LTYPE");
    write(2, converter_.GetName(&lt).c_str());
    write(70, lt.getFlags());
    write(3, lt.getDesc().c_str());
    write(72, 65L);  // the alignment code 'A', the only one the format knows
    write(73, static_cast<long>(lt.getNoDashes()));
    write(40, lt.getPatternLen());
    // Text elements have no group here: the count above still includes them.
    for (int i = 0; i < lt.getNoDashes(); ++i)
      if (lt.GetDash(i)->IsDoubleDash()) write(49, lt.GetDash(i)->GetValue());
  }
  write(0, "ENDTAB");
}

void CFileDXFOSaver::writeTableLayers() {
  CData::CLayerIterator it(data_, true);
  write(0, "TABLE");
  write(2, "LAYER");
  write(70, it.size());
  for (; *it != nullptr; ++it) {
    const CLayer& layer = **it;
    write(0, "LAYER");
    write(2, converter_.GetName(&layer).c_str());
    // The format marks an off layer by a negative colour, not by a flag.
    write(70, layer.getFlags() & 127);
    const long color = layer.getColor();
    write(62, layer.isOff() ? -color : color);
    write(6, converter_.GetName(layer.getLtype()).c_str());
  }
  write(0, "ENDTAB");
}

void CFileDXFOSaver::writeTableStyles() {
  // Only the drawing's own styles: those of external references stay in their files.
  const CStyleTable& styles = data_.getStyleTable();
  write(0, "TABLE");
  write(2, "STYLE");
  // The count includes shape styles, which are not written.
  write(70, styles.size());
  for (int i = 0; i < styles.size(); ++i) {
    const CStyle& style = *styles[i];
    if (style.IsShape()) continue;
    write(0, "STYLE");
    write(2, converter_.GetName(&style).c_str());
    write(70, style.getFlags() & 255);
    write(40, style.getFixedHeight());
    write(41, style.getWidthScale());
    write(50, style.getOblique() * kDegreesPerRadian);
    write(71, 0L);
    write(42, style.getLastHeight());
    // A style without a font (no default font registered) names none.
    write(3, style.getFont() != nullptr ? style.getFont()->getName().c_str() : "");
  }
  write(0, "ENDTAB");
}

void CFileDXFOSaver::writeBlocks() {
  write(0, "SECTION");
  write(2, "BLOCKS");
  // An external reference is a block without entities: its path says where they are.
  const CBlockXRefTable& xrefs = data_.getBlockXRefTable();
  for (int i = 0; i < xrefs.size(); ++i) {
    const CBlockXRef& xref = *xrefs[i];
    const String name = converter_.GetName(&xref);
    write(0, "BLOCK");
    write(8, "0");
    write(2, name.c_str());
    write(70, xref.getFlags());
    write(10, 0.0);
    write(20, 0.0);
    write(30, 0.0);
    write(3, name.c_str());
    write(1, xref.getPath().c_str());
    write(0, "ENDBLK");
  }
  const CBlockTable& blocks = data_.getBlockTable();
  if (blocks.size() > 0) {
    // Post-order: a block is written after every block it inserts.
    CFileDXFOBlockWriter blockWriter(writer_, visitor_, converter_);
    blocks.getBlockGraph().visitUndep(blockWriter);
  }
  write(0, "ENDSEC");
}

void CFileDXFOSaver::writeEntities() {
  write(0, "SECTION");
  write(2, "ENTITIES");
  const CEntTable& table = data_.getEntTable();
  const std::mylist<CEnt*>& list =
      (flags_ & kSelectedOnly) != 0 ? table.getSelectedEntityTbl() : table.getEntityTbl();
  const bool skipFrozen = (flags_ & kSkipFrozen) != 0;
  for (CEnt* e : list) {
    if (skipFrozen && e->getLayer() != nullptr && !e->getLayer()->thawed()) continue;
    e->accept(visitor_);
  }
  write(0, "ENDSEC");
}

void CFileDXFOSaver::write(long code, bool value) {
  writer_.write(code, value);
}

void CFileDXFOSaver::write(long code, long value) {
  writer_.write(code, value);
}

void CFileDXFOSaver::write(long code, double value) {
  writer_.write(code, value);
}

void CFileDXFOSaver::write(long code, const char* value) {
  writer_.write(code, value);
}

void CFileDXFOSaver::writeHex(long code, long value) {
  writer_.writeHex(code, value);
}

void SaveDXF(const CData& data, IFile& file, unsigned int flags) {
  CFileDXFOSaver saver(data, file, flags);
  saver.save();
}
