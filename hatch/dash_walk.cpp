// hatch/dash_walk.cpp: the dash walk (dash_walk.h), step for step as the hatch has always
// drawn: several of its quirks decide which dots and stretch ends appear, and are kept.
#include "hatch/dash_walk.h"

#include <cmath>

namespace veltcore::hatch {

namespace {

// Where the walk stands: the pattern position, the next crossing not yet passed, and whether
// the position is inside the boundary.
struct Walk {
  const double* t;
  std::size_t n;
  double pos;
  double next;
  std::size_t idx;  // index of the crossing after next
  bool inside;
};

// A gap: the position moves on, passing (and flipping at) every crossing it reaches. The last
// crossing is never passed here; the walk's end test sees it instead. False when the run
// through the dashes stops early.
bool gap(Walk& w, double length) {
  w.pos += length;
  while (w.next <= w.pos && w.idx < w.n) {
    w.next = w.t[w.idx++];
    w.inside = !w.inside;
  }
  return !(w.next < w.pos);
}

// A drawn dash that reaches a crossing: stretches end and start at each crossing within it.
// False when the last crossing has been used, which ends the walk (nothing after it can be
// inside).
bool dashOverCrossings(Walk& w, double length, DashSink& sink) {
  double seg = w.pos;
  do {
    if (!w.inside) {
      w.inside = true;
    } else {
      sink.stretch(seg, w.next);
      w.inside = false;
    }
    seg = w.next;
    if (w.idx >= w.n) return false;
    w.next = w.t[w.idx++];
  } while (w.next <= w.pos + length);
  if (w.inside) sink.stretch(seg, w.pos + length);
  w.pos += length;
  return true;
}

// One run through the dashes. False when the walk has ended.
bool runDashes(Walk& w, const std::vector<Dash>& dashes, DashSink& sink) {
  for (const Dash& d : dashes) {
    if (!d.drawn) {
      if (!gap(w, d.length)) return true;  // the run restarts from the first dash
    } else if (d.length == 0) {
      if (w.inside) sink.dot(w.pos);
    } else if (w.next <= w.pos + d.length) {
      if (!dashOverCrossings(w, d.length, sink)) return false;
    } else {
      if (w.inside) sink.stretch(w.pos, w.pos + d.length);
      w.pos += d.length;
    }
  }
  return true;
}

}  // namespace

bool walkDashes(const std::vector<Dash>& dashes, double period, const double* t, std::size_t n,
                std::size_t maxPasses, DashSink& sink) {
  Walk w{t, n, period * std::floor(t[0] / period), t[0], 1, false};
  // The first crossing at (or, by rounding, before) the pattern's start is passed at once.
  if (t[0] <= w.pos) {
    w.inside = true;
    w.next = t[w.idx++];
  }
  for (std::size_t passes = 0; w.pos < t[n - 1]; ++passes) {
    if (passes == maxPasses) return false;
    const double before = w.pos;
    if (!runDashes(w, dashes, sink)) return true;
    // Every dash length was below the precision of the position: no pass will ever move it.
    if (w.pos == before) return false;
  }
  return true;
}

}  // namespace veltcore::hatch
