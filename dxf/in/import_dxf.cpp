// dxf/in/import_dxf.cpp: importDXF, which merges a DXF file into a drawing through the import
// semantor. On failure the drawing keeps what was merged before the error.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>

void importDXF(CData& data, IFile& file) {
  CFileDXFIImportDataSemantor semantor(data);
  CFileDXFIParser parser(file, semantor, data.getEntFactory());
  parser.load();
}
