// dxf/in/load_dxf.cpp: loadDXF, which fills a drawing from a DXF file through the load
// semantor. On failure the drawing keeps what was read before the error.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/parser.h>
#include <veltcore/dxf/in/semantor.h>

void loadDXF(CData& data, IFile& file) {
  CFileDXFILoadDataSemantor semantor(data);
  CFileDXFIParser parser(file, semantor, data.getEntFactory());
  parser.load();
}
