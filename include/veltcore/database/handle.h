// veltcore/database/handle.h: IHandleEnt (the handle every entity and vertex carries) and the
// handle managers: IHandleGestor, CHandleGestorDefault (tracks handles) and CHandleGestorFoo.
// Handles are signed 32-bit values behind `long` signatures; 0 means "no handle".
#pragma once

#include <cstdint>
#include <memory>

class IEntVisitor;

// Base of everything that has a handle. accept is the first virtual operation so that it
// takes the first slot of every derived class's table.
class IHandleEnt {
 public:
  // Double dispatch to the visitor's overload for the concrete class.
  virtual void accept(IEntVisitor& visitor) = 0;

  explicit IHandleEnt(long handle);
  IHandleEnt(const IHandleEnt& src) = default;
  IHandleEnt& operator=(const IHandleEnt& src) = default;

  long GetHandle() const { return handle_; }

 protected:
  // Not virtual, so no slot is taken before a derived class's own destructor; protected, so no
  // object can be deleted through an IHandleEnt pointer.
  ~IHandleEnt() = default;

  void SetHandle(long handle);

 private:
  std::int32_t handle_;
};

// The drawing's handle manager. A handle is free, booked (handed out to an object not yet in the
// drawing) or reserved (its object is in the drawing).
class IHandleGestor {
 public:
  // No handle can be handed out.
  class HandleExaustedException {};
  // The requested handle is already booked or reserved.
  class HandleAlreadyUsedException {};

  virtual ~IHandleGestor();
  // Hands out a new handle and marks it booked.
  virtual long bookNext() = 0;
  // Marks the caller's handle h booked and returns the handle to use.
  virtual long bookHandle(long h) = 0;
  // Forgets a booked handle whose object never entered the drawing.
  virtual void unbook(long h) = 0;
  // The object enters the drawing: its handle passes from booked to reserved.
  virtual void reserve(const IHandleEnt* e) = 0;
  // An object leaves the drawing: its handle is no longer reserved.
  virtual void release(long h) = 0;
  // Whether this manager keeps handles at all.
  virtual bool handling() const = 0;
  // Where the next bookNext starts its search.
  virtual long nextseed() const = 0;

 protected:
  IHandleGestor() = default;
  IHandleGestor(const IHandleGestor&) = default;
  IHandleGestor& operator=(const IHandleGestor&) = default;
};

// Keeps the reserved and the booked handles (two disjoint sets) and hands out the first free
// value from the seed upwards, wrapping once to 1 at the limit. Every operation takes
// logarithmic time in the number of runs of consecutive handles, whatever the limit.
class CHandleGestorDefault : public IHandleGestor {
 public:
  // Seed 1, limit 1000000000.
  CHandleGestorDefault();
  // Handles are searched in seed ... limit-1, then 1 ... ; limit also caps the number of handles
  // booked and reserved together.
  CHandleGestorDefault(long seed, long limit);
  CHandleGestorDefault(const CHandleGestorDefault& src);
  CHandleGestorDefault& operator=(const CHandleGestorDefault& src);
  ~CHandleGestorDefault() override;

  // Throws HandleExaustedException when the manager is full or no value in 1 ... limit-1 is free.
  long bookNext() override;
  // Throws HandleExaustedException when full, HandleAlreadyUsedException when h is booked or
  // reserved; h is not range-checked and the seed does not move.
  long bookHandle(long h) override;
  void unbook(long h) override;
  // A booked handle becomes reserved; any other handle (already reserved, never booked, or at or
  // above the limit) is replaced by the next free value, which is reserved instead. e itself is
  // not changed. Throws HandleExaustedException when there is no such value.
  void reserve(const IHandleEnt* e) override;
  void release(long h) override;
  bool handling() const override { return true; }
  long nextseed() const override { return seed_; }
  // Moves the seed up to h when h lies above it and below the limit; never moves it down. A
  // reader that keeps a file's handles starts its own where the file's writer stopped.
  void advanceSeed(long h);

 protected:
  // Moves h to the first value, from h upwards and wrapping once to 1 at the limit, that is
  // neither booked nor reserved; throws HandleExaustedException when there is none.
  void searchNext(long& h) const;

 private:
  // The handle sets as runs of consecutive values; defined beside the sources.
  struct Sets;

  std::unique_ptr<Sets> sets_;
  std::int32_t seed_;
  std::int32_t limit_;

  std::int64_t findFree(std::int64_t from) const;
  bool isFull() const;
};

// The manager of a drawing that keeps no handles: every handle handed out is 0, reserved
// objects are only counted, and nothing ever throws.
class CHandleGestorFoo : public IHandleGestor {
 public:
  CHandleGestorFoo() = default;

  long bookNext() override { return 0; }
  long bookHandle(long) override { return 0; }
  void unbook(long) override {}
  void reserve(const IHandleEnt* e) override;
  void release(long h) override;
  bool handling() const override { return false; }
  long nextseed() const override { return 0; }

 protected:
  // Objects reserved and not yet released.
  long reservedCount() const { return count_; }

 private:
  std::int32_t count_ = 0;
};
