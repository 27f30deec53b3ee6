// tools/velt/render/canvas_pipe.cpp: recording calls into batches and replaying them; an
// OrderedWorker carries the batches across.
#include "render/canvas_pipe.h"

#include <utility>

namespace velt {

namespace {

constexpr std::size_t kCallsPerBatch = 4096;
constexpr std::size_t kBatchesWaiting = 3;

}  // namespace

void CanvasPipe::Batch::clear() {
  calls.clear();
  points.clear();
  subpaths.clear();
  texts.clear();
}

CanvasPipe::CanvasPipe(std::unique_ptr<Canvas> target)
    : target_(std::move(target)),
      raster_(target_->raster()),
      worker_([this](Batch& batch) { replay(batch); }, kBatchesWaiting) {}

void CanvasPipe::beginEntity(const char* kind) {
  record({Op::kBeginEntity, {}, kind, {}, 0, 0, 0, 0, 0});
}

void CanvasPipe::endEntity() {
  record({Op::kEndEntity, {}, nullptr, {}, 0, 0, 0, 0, 0});
}

void CanvasPipe::beginGroup(const char* kind) {
  record({Op::kBeginGroup, {}, kind, {}, 0, 0, 0, 0, 0});
}

void CanvasPipe::endGroup() {
  record({Op::kEndGroup, {}, nullptr, {}, 0, 0, 0, 0, 0});
}

void CanvasPipe::strokePath(const PixelPath& path, Rgb colour) {
  const auto first = static_cast<std::uint32_t>(filling_.subpaths.size());
  const std::uint32_t count = recordPath(path);
  record({Op::kStrokePath, colour, nullptr, {}, 0, 0, 0, first, count});
}

void CanvasPipe::fillPath(const PixelPath& path, Rgb colour) {
  const auto first = static_cast<std::uint32_t>(filling_.subpaths.size());
  const std::uint32_t count = recordPath(path);
  record({Op::kFillPath, colour, nullptr, {}, 0, 0, 0, first, count});
}

void CanvasPipe::strokeCircle(PixelPoint centre, double radius, Rgb colour) {
  record({Op::kStrokeCircle, colour, nullptr, centre, radius, 0, 0, 0, 0});
}

void CanvasPipe::strokeArc(PixelPoint centre, double radius, double a0, double a1, Rgb colour) {
  record({Op::kStrokeArc, colour, nullptr, centre, radius, a0, a1, 0, 0});
}

void CanvasPipe::dot(PixelPoint p, Rgb colour) {
  record({Op::kDot, colour, nullptr, p, 0, 0, 0, 0, 0});
}

void CanvasPipe::text(const TextRun& run, Rgb colour) {
  filling_.texts.push_back(run);
  record({Op::kText,
          colour,
          nullptr,
          {},
          0,
          0,
          0,
          static_cast<std::uint32_t>(filling_.texts.size() - 1),
          0});
}

void CanvasPipe::finish() {
  handOver();
  worker_.drain();
  target_->finish();
}

void CanvasPipe::record(const Call& call) {
  filling_.calls.push_back(call);
  if (filling_.calls.size() >= kCallsPerBatch) handOver();
}

// The path's points and subpaths, appended to the batch with their first points made relative
// to the batch; returns how many subpaths.
std::uint32_t CanvasPipe::recordPath(const PixelPath& path) {
  const auto base = static_cast<std::uint32_t>(filling_.points.size());
  filling_.points.insert(filling_.points.end(), path.points().begin(), path.points().end());
  for (PixelPath::Subpath s : path.subpaths()) {
    s.first += base;
    filling_.subpaths.push_back(s);
  }
  return static_cast<std::uint32_t>(path.subpaths().size());
}

void CanvasPipe::handOver() {
  if (!filling_.calls.empty()) worker_.handOver(filling_);
}

void CanvasPipe::replay(const Batch& batch) {
  Canvas& to = *target_;
  for (const Call& c : batch.calls) {
    switch (c.op) {
      case Op::kBeginEntity:
        to.beginEntity(c.kind);
        break;
      case Op::kEndEntity:
        to.endEntity();
        break;
      case Op::kBeginGroup:
        to.beginGroup(c.kind);
        break;
      case Op::kEndGroup:
        to.endGroup();
        break;
      case Op::kStrokeCircle:
        to.strokeCircle(c.point, c.radius, c.colour);
        break;
      case Op::kStrokeArc:
        to.strokeArc(c.point, c.radius, c.a0, c.a1, c.colour);
        break;
      case Op::kDot:
        to.dot(c.point, c.colour);
        break;
      case Op::kText:
        to.text(batch.texts[c.item], c.colour);
        break;
      case Op::kStrokePath:
      case Op::kFillPath: {
        replayPath_.clear();
        for (std::uint32_t i = 0; i < c.subpathCount; ++i) {
          const PixelPath::Subpath& s = batch.subpaths[c.item + i];
          for (std::uint32_t k = 0; k < s.count; ++k) {
            if (k == 0)
              replayPath_.moveTo(batch.points[s.first]);
            else
              replayPath_.lineTo(batch.points[s.first + k]);
          }
          if (s.closed) replayPath_.close();
        }
        if (c.op == Op::kStrokePath)
          to.strokePath(replayPath_, c.colour);
        else
          to.fillPath(replayPath_, c.colour);
        break;
      }
    }
  }
}

}  // namespace velt
