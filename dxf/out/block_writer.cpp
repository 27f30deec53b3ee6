// dxf/out/block_writer.cpp: CFileDXFOBlockWriter, one BLOCK ... ENDBLK record per block.
// The block's entities are written by the shared entity visitor, so the save's options
// (flat Z) apply inside blocks too; layer filtering does not.
#include <veltcore/dxf/out/block_writer.h>

#include <veltcore/database/block.h>
#include <veltcore/dxf/in/name_converter.h>
#include <veltcore/dxf/out/visitor.h>
#include <veltcore/dxf/out/writer.h>
#include <veltcore/entities/entity.h>

CFileDXFOBlockWriter::CFileDXFOBlockWriter(CFileDXFOWriter& writer, CFileDXFOVisitor& visitor,
                                           CNameAcadConverter& converter)
    : writer_(writer), visitor_(visitor), converter_(converter) {}

void CFileDXFOBlockWriter::doOperation(CBlock& b) {
  const String name = converter_.GetName(&b);
  writer_.write(0, "BLOCK");
  writer_.write(8, "0");
  writer_.write(2, name.c_str());
  // Bits above 255 (the private mark) belong to the drawing, not to the file.
  writer_.write(70, b.getFlags() & 255);
  writer_.write(10, 0.0);
  writer_.write(20, 0.0);
  writer_.write(30, 0.0);
  writer_.write(3, name.c_str());
  writer_.write(1, "");
  for (int i = 0; i < b.size(); ++i) b[i]->accept(visitor_);
  writer_.write(0, "ENDBLK");
}
