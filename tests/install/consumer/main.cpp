// A host program built against an installed veltcore: uses the umbrella header, the
// message table, a drawing's handle manager and a projector, and prints what it saw.
#include <veltcore/veltcore.h>

#include <cstdio>

int main() {
  CData* drawing = CDataFactory().createData();
  const long first = getHandleGestor(*drawing).bookNext();
  deleteData(drawing);
  String message;
  message.LoadString(19);
  PNT_2D view;
  CPVProjector().to2D(PNT_3D(1, 2, 3), view);
  std::printf("%ld %s %g %g\n", first, message.c_str(), view.getX(), view.getY());
  shutdownCore();
  return first == 32 && view.getY() == 3 ? 0 : 1;
}
