// tools/velt/render/scene.h: the walk over a drawing's model space that draws each entity on a
// canvas. Block references are expanded (nested, every copy of an array, then their
// attributes), hatches are drawn as the references to their pattern blocks they are, and each
// entity gets its layer, colour and linetype resolved through the references around it. What
// lies outside the image is skipped; on a raster canvas, what is smaller than a pixel becomes a
// dot and texts too small to read become a line.
#pragma once

#include <vector>

#include <veltcore/entities/insert_matrix.h>
#include <veltcore/entities/visitor.h>
#include <veltcore/view/wnd_vpt.h>

#include "render/canvas.h"
#include "render/dash_pattern.h"
#include "render/palette.h"
#include "render/pixel_transform.h"

class CData;
class CEnt;
class CLayer;
class CLtype;
class RECT_3D;
class TEXT_3D;

namespace velt {

class FreeTypeFont;
class LayerRules;
class ProgressBar;

class SceneWalker : private IEntVisitor {
 public:
  // font: the font of texts whose style has no FreeType font (null: such texts are not drawn).
  SceneWalker(const CData& data, const CWndVpt& view, Canvas& canvas, const LayerRules& rules,
              bool blackBackground, const FreeTypeFont* font);

  // Draws every model-space entity in order, reporting each to bar when there is one.
  void drawModelSpace(ProgressBar* bar);

 private:
  // What the references around the entities being drawn pass on to them.
  struct Context {
    PixelTransform transform;
    const CLayer* insertLayer = nullptr;  // the layer entities on layer "0" take
    short blockColour = 7;                // what colour "by block" means here
    const CLtype* blockLtype = nullptr;   // what linetype "by block" means (null: solid)
    int depth = 0;
    bool hatch = false;  // drawing a hatch's pattern block
  };
  // How one entity is drawn.
  struct Look {
    Rgb colour;
    const CLtype* ltype = nullptr;  // null: solid
    PixelBox box;
  };

  const CData& data_;
  const CWndVpt& view_;
  Canvas& canvas_;
  const LayerRules& rules_;
  const FreeTypeFont* font_;
  bool black_;
  // The image and a pixel around it: what can be seen.
  PixelBox visible_;
  Context context_;
  CEntInsertStack inserts_;
  // Storage reused from entity to entity.
  PixelPath path_;
  PixelPath fills_;
  std::vector<PixelPoint> points_;
  std::vector<PixelPoint> centre_;
  std::vector<DashPattern::Dash> dashList_;
  DashPattern dashes_;
  TextRun run_;
  // The reference whose attributes are being drawn.
  const CEntInsert* attributesOf_ = nullptr;

  void visit(CEnt3DFace& e) override;
  void visit(CEntHatch& e) override;
  void visit(CEntAttrib& e) override;
  void visit(CEntInsertXRef& e) override;
  void visit(CEntInsert& e) override;
  void visit(CEntAttdef& e) override;
  void visit(CEntText& e) override;
  void visit(CEntPolyline& e) override;
  void visit(CEntArc& e) override;
  void visit(CEntCircle& e) override;
  void visit(CEntLine& e) override;
  void visit(CEntPnt& e) override;

  // The entity's own layer, or the reference's for an entity on layer "0" inside one.
  const CLayer* layerOf(const CEnt& e) const;
  // Resolves e's look and decides whether it is drawn at all: false when its layer is hidden or
  // it lies outside the image, and also (after drawing it as a dot under kind) when a raster
  // canvas could not show more of it than a dot.
  bool prepare(const CEnt& e, const char* kind, Look& look);
  // The same with the entity's box given (in the coordinates being drawn).
  bool prepare(const CEnt& e, const RECT_3D& box, const char* kind, Look& look);
  Rgb colourOf(short colour, const CLayer* layer) const;
  const CLtype* ltypeOf(const CLtype* lt, const CLayer* layer) const;
  bool outside(const PixelBox& b) const;
  bool belowPixel(const PixelBox& b) const;

  void drawInsert(CEntInsert& e, const char* kind);
  void drawCopies(CEntInsert& e);
  // around: the transform of the coordinates the reference lies in.
  void drawAttributes(CEntInsert& e, const PixelTransform& around);
  void drawText(const TEXT_3D& t, const Look& look);
  void drawThinPolyline(const CEntPolyline& e, const Look& look);
  void drawWidePolyline(const CEntPolyline& e, const Look& look);
  // Fills the wide run whose cross-sections (left, right, left, ...) are in points_, in look's
  // linetype.
  void fillWideRun(bool restart, const Look& look);
  // Strokes the chain points_ (closed or not) in look's linetype, the pattern laid along the
  // whole chain or, with restart, afresh on every segment.
  void strokeChain(bool closed, bool restart, const Look& look);
  // Strokes path_ (one chain already in it) in look's linetype.
  void strokeCurve(const Look& look);
  // Whether look's linetype shows as dashes here; when it does, dashes_ holds its pattern.
  bool dashed(const Look& look);
};

}  // namespace velt
