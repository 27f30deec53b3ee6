// entities/insert_stack.cpp: the state of a walk through nested inserts and its stack.
// Push saves the (matrix, layer) pair it replaces, so Pop restores both bit for bit.
#include <veltcore/database/layer.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/insert_matrix.h>

namespace {

// Room for nesting this deep before the vectors grow: deeper nesting is rare in drawings.
constexpr std::size_t kReservedDepth = 10;

}  // namespace

CEntInsertStackState::CEntInsertStackState()
    : matrix_(PNT_3D(0, 0, 0), 1, 1, 1, 0, PNT_3D(0, 0, 0)), layer_(nullptr) {
  inserts_.reserve(kReservedDepth);
}

const CEntInsert* CEntInsertStackState::GetBaseInsert() const {
  return inserts_.empty() ? nullptr : inserts_.front();
}

const CEntInsert* CEntInsertStackState::GetTopMostInsert() const {
  return inserts_.empty() ? nullptr : inserts_.back();
}

CEntInsertStack::CEntInsertStack() {
  saved_.reserve(kReservedDepth);
}

void CEntInsertStack::Push(const CEntInsert* ins, int row, int column) {
  saved_.emplace_back(matrix_, layer_);
  const CEntInsertMatrix own(*ins, row, column);
  if (inserts_.empty()) {
    matrix_ = own;
    layer_ = ins->getLayer();
  } else {
    matrix_ = matrix_ * own;
    // Entities of an insert on layer "0" take the layer of the insert around it.
    const CLayer* layer = ins->getLayer();
    if (layer == nullptr || !layer->is0()) layer_ = layer;
  }
  inserts_.push_back(ins);
}

void CEntInsertStack::Pop() {
  if (inserts_.empty()) return;
  inserts_.pop_back();
  matrix_ = saved_.back().first;
  layer_ = saved_.back().second;
  saved_.pop_back();
}
