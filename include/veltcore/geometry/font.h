// veltcore/geometry/font.h: ICADFont, the font a host implements and registers, and
// CFontTable, the process-wide registry of those fonts. The library only asks fonts for metrics.
// A font added to the table belongs to it: CFontTable::shutdown deletes it; the default does not.
#pragma once

#include <memory>
#include <vector>

#include <veltcore/core/string.h>

// A font supplied by the host. Metrics are in font units; a text of height h turns them into
// drawing units with k = h / getCellHeight().
class ICADFont {
 public:
  virtual ~ICADFont();

  // Height of the character cell.
  virtual int getCellHeight() const = 0;
  // Whether the font can draw character c. A service for the host's own renderers: the library
  // never asks, and a font that draws everything need not override it.
  virtual bool hasGlyph(unsigned char c) const;
  // Depth of the cell below the baseline.
  virtual int getDescent() const = 0;
  // Advance width of s and its upper and lower extents measured up from the baseline, for the
  // given style flags. All three outputs are always written.
  virtual void measure(const char* s, bool horizontal, bool bold, bool italic, int* width, int* top,
                       int* bottom) const = 0;

  // The name styles and DXF files refer to the font by; compared case-sensitively.
  const String& getName() const { return name_; }

 protected:
  explicit ICADFont(const String& name) : name_(name) {}
  ICADFont(const ICADFont&) = default;
  ICADFont& operator=(const ICADFont&) = default;

 private:
  String name_;
};

// The registered fonts, in order of registration, and the default font. One instance per
// process, made on first use and destroyed only by shutdown(); used from one thread at a time.
class CFontTable {
 public:
  // The instance, created (empty, no default) when there is none.
  static CFontTable& getInstance();
  // Deletes the instance with every registered font; the next getInstance starts afresh.
  // Styles still pointing at those fonts must not be used afterwards.
  static void shutdown();

  CFontTable(const CFontTable&) = delete;
  CFontTable& operator=(const CFontTable&) = delete;

  // Appends font and takes ownership. A null pointer is ignored; a font must be added once only.
  void add(ICADFont* font);
  // The first font named exactly name; when none is, the default font if orDefault, else null.
  const ICADFont* get(const String& name, bool orDefault) const;
  // The default font (null until set). It need not be registered and is never deleted here.
  const ICADFont* getDefault() const { return default_; }
  void setDefault(const ICADFont* font) { default_ = font; }
  long size() const { return static_cast<long>(fonts_.size()); }
  // The i-th registered font; null outside 0 ... size() - 1.
  const ICADFont* operator[](int i) const;

 private:
  CFontTable() = default;
  ~CFontTable();

  std::vector<std::unique_ptr<ICADFont>> fonts_;
  const ICADFont* default_ = nullptr;
};
