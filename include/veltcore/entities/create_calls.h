// veltcore/entities/create_calls.h: the drawing-level creation calls createEnt* and cloneEnt,
// which go through the drawing's entity factory and handle manager.
// None adds the entity anywhere: the caller adds it to a table or a block, or unbooks and deletes.
#pragma once

class ARC_3D;
class CBlock;
class CBlockXRef;
class CBlockXRefDepend;
class CData;
class CEnt;
class CEnt3DFace;
class CEntArc;
class CEntAttdef;
class CEntAttrib;
class CEntCircle;
class CEntInsert;
class CEntInsertXRef;
class CEntLine;
class CEntPnt;
class CEntPolyline;
class CEntText;
class CIRCLE_3D;
class CLayer;
class CLtype;
class LINE_3D;
class PNT_3D;
class String;
class TEXT_3D;
class CVertex;

// Each create call comes in two forms: with an explicit layer, linetype and colour, and without
// them, taking the drawing's current layer, linetype and colour. Handle 0 asks for a fresh
// handle; any other is booked as given, and the handle manager's exception passes out when it is
// taken. Null when memory for the entity cannot be had.

CEntPnt* createEntPnt(const CData& d, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p,
                      long handle);
CEntPnt* createEntPnt(const CData& d, const PNT_3D& p, long handle);

CEntLine* createEntLine(const CData& d, CLayer* layer, CLtype* ltype, short color, const LINE_3D& l,
                        long handle);
CEntLine* createEntLine(const CData& d, const LINE_3D& l, long handle);

CEntCircle* createEntCircle(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const CIRCLE_3D& c, long handle);
CEntCircle* createEntCircle(const CData& d, const CIRCLE_3D& c, long handle);

CEntArc* createEntArc(const CData& d, CLayer* layer, CLtype* ltype, short color, const ARC_3D& a,
                      long handle);
CEntArc* createEntArc(const CData& d, const ARC_3D& a, long handle);

// flags is truncated to the polyline's 16-bit settings word; no vertices yet.
CEntPolyline* createEntPolyline(const CData& d, CLayer* layer, CLtype* ltype, short color,
                                long flags, short degree, long handle);
CEntPolyline* createEntPolyline(const CData& d, long flags, short degree, long handle);

// A vertex with no polyline yet; add it to one, which then owns it.
CVertex* createVertex(const CData& d, const PNT_3D& p, double widthStart, double widthEnd,
                      long handle);

CEntText* createEntText(const CData& d, CLayer* layer, CLtype* ltype, short color, const TEXT_3D& t,
                        long handle);
CEntText* createEntText(const CData& d, const TEXT_3D& t, long handle);

// t's string is the tag; value is the default value.
CEntAttdef* createEntAttdef(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const TEXT_3D& t, const String& value, const String& prompt, long flags,
                            long handle);
CEntAttdef* createEntAttdef(const CData& d, const TEXT_3D& t, const String& value,
                            const String& prompt, long flags, long handle);

// An insert of block (rows and columns, then column spacing and row spacing), no attributes.
CEntInsert* createEntInsert(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            CBlock& block, const PNT_3D& pnt, double sx, double sy, double sz,
                            double rotate, long rows, long columns, double columnSpacing,
                            double rowSpacing, long handle);
CEntInsert* createEntInsert(const CData& d, CBlock& block, const PNT_3D& pnt, double sx, double sy,
                            double sz, double rotate, long rows, long columns, double columnSpacing,
                            double rowSpacing, long handle);

// An attribute of ins made from def: def's layer, linetype, colour, placement, style, tag and
// flags, with the given value. One form only; ins is not read.
CEntAttrib* createEntAttrib(const CData& d, const String& value, const CEntAttdef& def,
                            const CEntInsert& ins, long handle);

// An insert of the external reference xref. The form with layer, linetype and colour counts it
// in the drawing's dependency record; the other in the record the caller gives (the owner of
// the table the insert is meant for).
CEntInsertXRef* createEntInsertXRef(CData& d, CLayer* layer, CLtype* ltype, short color,
                                    CBlockXRef* xref, const PNT_3D& pnt, double sx, double sy,
                                    double sz, double rotate, long rows, long columns,
                                    double columnSpacing, double rowSpacing, long handle);
CEntInsertXRef* createEntInsertXRef(const CData& d, CBlockXRefDepend& depend, CBlockXRef* xref,
                                    const PNT_3D& pnt, double sx, double sy, double sz,
                                    double rotate, long rows, long columns, double columnSpacing,
                                    double rowSpacing, long handle);

// flags: bits 0-3 hide edges 0-3; the triangle mark follows the vertices whatever is given.
CEnt3DFace* createEnt3DFace(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3,
                            long flags, long handle);
CEnt3DFace* createEnt3DFace(const CData& d, const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2,
                            const PNT_3D& p3, long flags, long handle);

// The drawing's factory clone of e with the drawing's handle manager, block factory and blocks.
CEnt* cloneEnt(CData& d, const CEnt& e);
