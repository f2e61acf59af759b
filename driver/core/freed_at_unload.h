#pragma once
// A global of the driver that is allocated once, on first use, is deleted
// when the driver is unloaded (or the process ends), so a host that unloads
// and loads the driver again gets the memory back. Declare the owner at
// namespace scope: it is made as the driver loads, before any use, and so is
// destroyed after everything the driver made later.
namespace kvr {

template <class T>
class FreedAtUnload {
 public:
  explicit FreedAtUnload(T*& global) : global_(global) {}
  ~FreedAtUnload() {
    delete global_;
    global_ = nullptr;
  }
  FreedAtUnload(const FreedAtUnload&) = delete;
  FreedAtUnload& operator=(const FreedAtUnload&) = delete;

 private:
  T*& global_;
};

}  // namespace kvr
