// tools/velt/render/canvas_pipe.h: a Canvas that hands every call on to another canvas, which
// carries them out in the same order on a thread of its own. Writing SVG costs as much as the
// scene walk that calls it (every number turned into text): piped, the two run side by side.
// Calls are copied into batches (paths and texts with them); a few batches wait at most.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "io/ordered_worker.h"
#include "render/canvas.h"

namespace velt {

class CanvasPipe : public Canvas {
 public:
  // Runs target's calls on a thread of its own, or on the caller's when no thread can be had.
  explicit CanvasPipe(std::unique_ptr<Canvas> target);
  // Stops the thread; calls not yet carried out are dropped (finish() was not reached).
  ~CanvasPipe() override = default;
  CanvasPipe(const CanvasPipe&) = delete;
  CanvasPipe& operator=(const CanvasPipe&) = delete;

  bool raster() const override { return raster_; }
  void beginEntity(const char* kind) override;
  void endEntity() override;
  void beginGroup(const char* kind) override;
  void endGroup() override;
  void strokePath(const PixelPath& path, Rgb colour) override;
  void fillPath(const PixelPath& path, Rgb colour) override;
  void strokeCircle(PixelPoint centre, double radius, Rgb colour) override;
  void strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) override;
  void dot(PixelPoint p, Rgb colour) override;
  void text(const TextRun& run, Rgb colour) override;
  // Waits for every call, then finishes the target. What the target threw on its thread is
  // thrown here, or at the next call after it.
  void finish() override;

 private:
  enum class Op : std::uint8_t {
    kBeginEntity,
    kEndEntity,
    kBeginGroup,
    kEndGroup,
    kStrokePath,
    kFillPath,
    kStrokeCircle,
    kStrokeArc,
    kDot,
    kText
  };
  // One call. kind: a name that lives as long as the program (the scene's literals); item: the
  // call's path (its subpaths from there, subpathCount of them) or its text.
  struct Call {
    Op op;
    Rgb colour;
    const char* kind;
    PixelPoint point;
    double radius, a0, a1;
    std::uint32_t item, subpathCount;
  };
  struct Batch {
    std::vector<Call> calls;
    std::vector<PixelPoint> points;
    std::vector<PixelPath::Subpath> subpaths;
    std::vector<TextRun> texts;
    void clear();
  };

  std::unique_ptr<Canvas> target_;
  const bool raster_;
  Batch filling_;
  PixelPath replayPath_;  // the worker's, reused for every path replayed
  // Last: its thread replays into target_ and replayPath_, and stops before they go.
  OrderedWorker<Batch> worker_;

  void record(const Call& call);
  std::uint32_t recordPath(const PixelPath& path);
  void handOver();
  void replay(const Batch& batch);
};

}  // namespace velt
