// veltcore/entities/polyline_silhouette.h: a polyline's visible vertices as geometry: the outline
// of a wide polyline (CPolylineSilhouette), its segments as lines (CPolylineLineSeq), the segment
// nearest a point (CalcNearestLine) and new vertices for a stretch of it
// (CPolylineVertexSubSequence).
#pragma once

#include <vector>

#include <veltcore/core/point.h>
#include <veltcore/geometry/line.h>

class CEntFactory;
class CEntPolyline;
class CVertex;
class IHandleGestor;

// The outline of a polyline with widths, as runs: a thin run is a stretch of the centre line (one
// point per vertex), a wide run follows both edges of its segments as cross-sections, left point
// then right point (L0, R0, L1, R1, ...), with mitred joints. Left is the side of (-dy, dx).
// Every point carries the Z of the vertex that starts its segment.
//
// The outline points of a polyline are every point of every run:
//   CPolylineSilhouette s(polyline);
//   for (int r = 0; r < s.GetNoRuns(); ++r)
//     for (const PNT_3D& p : s.GetRunNo(r)->GetSegmentList()) ...
// CEntPolyline::calcBdry boxes a wide polyline this way.
class CPolylineSilhouette {
 public:
  class CPolylineSilhouetteRun {
   public:
    // Copies the points.
    CPolylineSilhouetteRun(bool wide, std::vector<PNT_3D>& points);
    CPolylineSilhouetteRun(const CPolylineSilhouetteRun&) = default;
    CPolylineSilhouetteRun& operator=(const CPolylineSilhouetteRun&) = default;

    bool IsWideRun() const { return wide_; }
    std::vector<PNT_3D>& GetSegmentList() { return points_; }
    const std::vector<PNT_3D>& GetSegmentList() const { return points_; }

   private:
    std::vector<PNT_3D> points_;
    bool wide_;
  };

  // Computes the outline of the polyline's visible vertices.
  explicit CPolylineSilhouette(const CEntPolyline& p);
  // Copies hold copies of the runs, so each silhouette deletes only its own.
  CPolylineSilhouette(const CPolylineSilhouette& src);
  CPolylineSilhouette& operator=(const CPolylineSilhouette& src);
  ~CPolylineSilhouette();

  int GetNoRuns() const { return static_cast<int>(runs_.size()); }
  // Null when i is not a run number.
  const CPolylineSilhouetteRun* GetRunNo(int i) const;

 private:
  void CalcSilhouette(const CEntPolyline& p);
  void clear();

  std::vector<CPolylineSilhouetteRun*> runs_;
};

// The visible segments of a polyline as lines, numbered from 0: line i runs from vertex i to
// vertex i + 1 of the sequence. A closed polyline's sequence repeats its first visible vertex at
// the end, so its closing line comes last. Duplicate positions are kept.
class CPolylineLineSeq {
 public:
  explicit CPolylineLineSeq(const CEntPolyline& p);

  long GetNoVertexes() const { return static_cast<long>(vertexes_.size()); }
  long GetNoLines() const { return static_cast<long>(lines_.size()); }
  // Null when i is not a vertex number.
  const CVertex* GetVertex(long i) const;
  // i must be a line number (std::out_of_range otherwise).
  LINE_3D& GetLine(long i);
  const LINE_3D& GetLine(long i) const;
  bool IsClosed() const { return closed_; }
  const CEntPolyline& GetPolyline() const { return *polyline_; }

  // The line whose XY part comes nearest to p; ties keep the lower number. index is its number
  // and t the unclamped parameter of the nearest point; index -1 and t 1.7e+200 when there are
  // no lines.
  void CalcNearestLine(const PNT_2D& p, int& index, double& t) const;

 private:
  const CEntPolyline* polyline_;
  std::vector<LINE_3D> lines_;
  std::vector<const CVertex*> vertexes_;
  bool closed_;
};

// The segment of the polyline nearest to p, in the polyline's own segment numbering (segment i
// from vertex i to i + 1): a closed polyline's closing segment comes first and is numbered
// firstVisible - 1, so a closed plain polyline can answer index -1 with a real t. Nothing found
// leaves index -1 and t 1.7e+200; ties keep the segment met first.
void CalcNearestLine(const CEntPolyline& p, const PNT_2D& pt, int& index, double& t);

// New vertices for the stretch of a polyline from (i1, t1) to (i2, t2), positions given as a line
// number of its CPolylineLineSeq and a parameter along that line. When the end lies before the
// start the stretch wraps round through the sequence's last vertex (meant for closed polylines).
// The vertices are made by the factory with fresh booked handles and belong to the sub-sequence
// until TakeVertexes hands them over. A line number outside the sequence gives no vertices.
class CPolylineVertexSubSequence {
 public:
  CPolylineVertexSubSequence(CEntFactory& f, IHandleGestor& g, const CEntPolyline& p, int i1,
                             double t1, int i2, double t2);
  CPolylineVertexSubSequence(CEntFactory& f, IHandleGestor& g, const CPolylineLineSeq& seq, int i1,
                             double t1, int i2, double t2);
  // Deletes the vertices it still owns; their handles stay booked.
  ~CPolylineVertexSubSequence();
  CPolylineVertexSubSequence(const CPolylineVertexSubSequence&) = delete;
  CPolylineVertexSubSequence& operator=(const CPolylineVertexSubSequence&) = delete;

  int GetNoVertexes() const { return static_cast<int>(vertexes_.size()); }
  // Null when i is not a vertex number.
  CVertex* GetVertex(int i) const;
  // Hands every vertex to the caller, who then owns them; the sub-sequence becomes empty.
  std::vector<CVertex*> TakeVertexes();

 private:
  void build(const CPolylineLineSeq& seq, int i1, double t1, int i2, double t2);
  void addPoint(const CPolylineLineSeq& seq, int i, double t);
  void copyVertex(const CPolylineLineSeq& seq, long i);

  std::vector<CVertex*> vertexes_;
  CEntFactory& factory_;
  IHandleGestor& gestor_;
};
