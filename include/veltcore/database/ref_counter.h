// veltcore/database/ref_counter.h: IRefCounter, an intrusive reference count for classes of the
// library's users. The count starts at 1; the decRef that brings it to 0 deletes the object, so
// such objects must be created with new.
#pragma once

#include <cstdint>

class IRefCounter {
 public:
  virtual ~IRefCounter();

  void addRef();
  // Deletes the object, through its virtual destructor, when the count reaches 0.
  void decRef();

 protected:
  IRefCounter() = default;
  // Copies the count, like assignment: the count travels with the object's value.
  IRefCounter(const IRefCounter& src) = default;
  IRefCounter& operator=(const IRefCounter& src) = default;

 private:
  std::int32_t count_ = 1;
};
