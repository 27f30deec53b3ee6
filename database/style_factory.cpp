// database/style_factory.cpp: CStyleFactory, the default maker of text styles. Results belong
// to the caller until a style table takes them; a copy starts with no entities.
#include <veltcore/database/style.h>

CStyleFactory::~CStyleFactory() = default;

CStyle* CStyleFactory::create(const CStyle& style) {
  return new CStyle(style);
}

CStyle* CStyleFactory::create(const String& name, const ICADFont* font, double fixedHeight,
                              double widthScale, double oblique, double lastHeight, long flags) {
  return new CStyle(name, font, fixedHeight, widthScale, oblique, lastHeight, flags);
}
