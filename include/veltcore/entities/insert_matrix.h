// veltcore/entities/insert_matrix.h: CEntInsertMatrix, the affine map from a block's coordinates
// to the drawing's for one copy of an insert, and CEntInsertStack, which accumulates those maps
// and the effective layer while a caller walks nested inserts. a * b applies b first.
#pragma once

#include <utility>
#include <vector>

#include <veltcore/core/point.h>

class CEntInsert;
class CLayer;

// x' = m0*x + m1*y + m5; y' = m2*x + m3*y + m6; z' = m4*z + m7. A plain value.
//
// When the X and Y scales are equal the map is a similarity in XY and also keeps its common scale
// and its rotation. A matrix that is not isotropic holds not-a-number in both iso fields, so a
// caller that reads them by mistake sees it at once and no copy carries indeterminate values.
class CEntInsertMatrix {
 public:
  // Leaves every field unset, as the point values do: fill it with set or an assignment.
  CEntInsertMatrix() {}
  // inverse false: the copy in row 1, column 1. inverse true: drawing to block coordinates,
  // without any array offset; never isotropic. A zero scale gives infinities (no check is made).
  CEntInsertMatrix(const CEntInsert& ins, bool inverse);
  // The copy in the given row and column, both counted from 1.
  CEntInsertMatrix(const CEntInsert& ins, int row, int column);
  // Moves base to the origin, scales, rotates about Z, then moves the origin to at.
  CEntInsertMatrix(const PNT_3D& base, double sx, double sy, double sz, double rotate,
                   const PNT_3D& at);

  void set(const PNT_3D& base, double sx, double sy, double sz, double rotate, const PNT_3D& at);
  // The composition in which o is applied first and this second.
  CEntInsertMatrix operator*(const CEntInsertMatrix& o) const;
  // out may be p itself.
  void transform(const PNT_3D& p, PNT_3D& out) const;

  bool IsIsotropicXY() const { return isotropic_; }
  double GetIsoScale() const { return isoScale_; }
  // In [0, 2*pi] after a composition; as given by the insert otherwise.
  double GetIsoRotate() const { return isoRotate_; }
  // Coefficient mi, i in 0 ... 7 (unchecked), in the numbering of the formulas above.
  double GetM(int i) const { return m_[i]; }

 private:
  double m_[8];
  double isoScale_;
  double isoRotate_;
  bool isotropic_;

  // The linear part and the translation of an insert without its array offset.
  void setPlacement(const CEntInsert& ins, double co, double si);
  // Sets the iso fields from the scales and rotation of a placement.
  void setIso(double sx, double sy, double rotate);
  void setNotIsotropic();
};

// Where a walk through nested inserts stands: the inserts entered (outermost first), the map from
// the innermost block's coordinates to the drawing's, and the layer its entities on layer "0"
// take. A new state has no insert, the identity map and no layer.
class CEntInsertStackState {
 public:
  CEntInsertStackState();

  int GetNoInsert() const { return static_cast<int>(inserts_.size()); }
  // Unchecked index, 0 the outermost.
  const CEntInsert* GetInsert(int i) const { return inserts_[static_cast<std::size_t>(i)]; }
  // The outermost and the innermost insert; null when there is none.
  const CEntInsert* GetBaseInsert() const;
  const CEntInsert* GetTopMostInsert() const;
  const CEntInsertMatrix& GetCurMatrix() const { return matrix_; }
  const CLayer* GetCurLayer() const { return layer_; }

 private:
  friend class CEntInsertStack;

  std::vector<const CEntInsert*> inserts_;
  CEntInsertMatrix matrix_;
  const CLayer* layer_;
};

// The state plus the (matrix, layer) pairs saved by each Push, so that Pop puts them back exactly.
class CEntInsertStack : public CEntInsertStackState {
 public:
  CEntInsertStack();

  // Enters ins for its copy in the given row and column (counted from 1). The first insert gives
  // its own layer, even layer "0"; a nested insert on layer "0" keeps the layer around it.
  void Push(const CEntInsert* ins, int row, int column);
  // Leaves the innermost insert; matrix and layer become what they were before its Push.
  // Does nothing when no insert is on the stack.
  void Pop();
  const CEntInsertStackState& GetState() const { return *this; }

 private:
  std::vector<std::pair<CEntInsertMatrix, const CLayer*>> saved_;
};
