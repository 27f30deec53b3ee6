// veltcore/dxf/in/name_converter.h: CNameAcadConverter, the DXF-safe names a drawing's layers,
// linetypes, text styles and blocks are written under. Built once per save; the drawing is not
// changed. An item created after the converter has no name here: GetName gives "".
#pragma once

#include <map>
#include <set>
#include <string>

#include <veltcore/core/string.h>

class CBlock;
class CData;
class CLayer;
class CLtype;
class CStyle;

// Gives every item a name of at most 31 characters from [A-Za-z0-9_$-] (a leading '*' is kept),
// unique against the names the drawing already uses, so that a table record and every reference
// to the item carry the same text. Only the drawing's own names are checked: two unsafe names
// may clean to the same text ("A B" and "A?B" both give "A_B").
class CNameAcadConverter {
 public:
  // Converts every item of data at once.
  explicit CNameAcadConverter(const CData& data);
  virtual ~CNameAcadConverter();
  CNameAcadConverter(const CNameAcadConverter&) = delete;
  CNameAcadConverter& operator=(const CNameAcadConverter&) = delete;

  // The name stored for the item; "" for an item the constructor did not see.
  String GetName(const CLayer* layer) const;
  String GetName(const CLtype* ltype) const;
  String GetName(const CStyle* style) const;
  String GetName(const CBlock* block) const;

 protected:
  // Layers, linetypes, styles, blocks, in that order.
  void Convert();
  // Layer "0", the layer table, then the layers of every external reference (full names).
  void ConvertLayers();
  // By layer, by block, continuous, the linetype table, then the external references' linetypes.
  void ConvertLtypes();
  // The style table, then the styles of every external reference.
  void ConvertStyles();
  // The block table, then the external-reference table.
  void ConvertBlocks();

  // out becomes name with every invalid character replaced by '_' (a leading '*' excepted), cut
  // to 31 characters; true when nothing was replaced or cut.
  bool IsValidName(const String& name, String& out);
  // base (cut so that the whole fits in 31 characters) followed by the decimal digits of
  // counter; counter is then increased. base itself is not changed.
  String GenerateValidName(String& base, int& counter);
  // Letters, digits, '_', '-' and '$'.
  bool IsValidChar(char c);

 private:
  const CData& data_;
  std::map<const CLayer*, String> layerNames_;
  std::map<const CLtype*, String> ltypeNames_;
  std::map<const CStyle*, String> styleNames_;
  std::map<const CBlock*, String> blockNames_;

  // The name stored for an item named `taken` whose walk holds the names walkNames.
  String uniqueName(const String& taken, const std::set<std::string>& walkNames);
};
