// veltcore/database/data_calls.h: the drawing-level free functions: current settings, the
// fixed items, adding, finding and removing table items, colour resolution, progressive
// block names, and the library's start and stop calls.
// Removing never deletes: the caller owns what it took out (and checks getEntities() first).
#pragma once

#include <veltcore/core/string.h>

class CBlockTable;
class CData;
class CLayer;
class CLayer0;
class CLtype;
class CLtypeByBlock;
class CLtypeByLayer;
class CStyle;
class CStyleStandard;
class IHandleGestor;

// Deletes the drawing; null is ignored.
void deleteData(CData* data);

CLtype* getCurLtype(const CData& data);
CLayer* getCurLayer(const CData& data);
CStyle* getCurStyle(const CData& data);
short getCurColor(const CData& data);
void setCurLtype(CData& data, CLtype* lt);
void setCurLayer(CData& data, CLayer* layer);
void setCurStyle(CData& data, CStyle* style);
void setCurColor(CData& data, short color);
double getLtypeScale(const CData& data);
void setLtypeScale(CData& data, double scale);

CLtypeByLayer* getLtypeByLayer(const CData& data);
CLtypeByBlock* getLtypeByBlock(const CData& data);
CLayer0* getLayer0(const CData& data);
CStyleStandard* getStyleStandard(const CData& data);
IHandleGestor& getHandleGestor(const CData& data);

// The table takes ownership.
void addLtype(CData& data, CLtype* lt);
void addStyle(CData& data, CStyle* style);
// Also counts the layer on its linetype.
void addLayer(CData& data, CLayer* layer);

// Continuous, bylayer and byblock in any case give the fixed linetypes; other names are
// looked up ignoring case. Null when nothing matches.
CLtype* getLtype(const CData& data, const String& name);
// "0" gives layer 0; other names are looked up ignoring case.
CLayer* getLayer(const CData& data, const String& name);
CStyle* getStyle(const CData& data, const String& name);

// The item leaves its table undeleted. The by-name forms return it (null when none).
void removeLtype(CData& data, CLtype* lt);
CLtype* removeLtype(CData& data, const String& name);
void removeStyle(CData& data, CStyle* style);
CStyle* removeStyle(CData& data, const String& name);
// Also uncounts the layer on its linetype; layer 0 and unlisted layers change nothing.
void removeLayer(CData& data, CLayer* layer);
CLayer* removeLayer(CData& data, const String& name);

// One step of colour resolution: 0 (by block) gives blockColor, 256 (by layer) the layer's
// colour, any other value itself.
short getColor(short color, const CLayer* layer, short blockColor);

// base followed by the lowest n >= 1 for which no block is named exactly base + n.
String GetBlockProgressiveName(const String& base, const CBlockTable& blocks);

// A host calls initCore once before using the library (it has nothing to do) and
// shutdownCore once at the end: it frees the font table with its fonts and the colour names.
void initCore();
void shutdownCore();
