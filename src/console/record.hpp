// The bytes of the records being written: a growable buffer whose appends are
// inline, since every field of every record goes through them.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace amostra {

class Record {
 public:
  void clear() { size_ = 0; }
  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }

  void append(std::size_t n, char c) {
    if (n == 0) return;  // the buffer may not exist yet
    reserve(n);
    std::memset(data_.get() + size_, c, n);
    size_ += n;
  }
  void append(const char* s, std::size_t n) {
    if (n == 0) return;
    reserve(n);
    std::memcpy(data_.get() + size_, s, n);
    size_ += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  Record& operator+=(char c) {
    reserve(1);
    data_[size_++] = c;
    return *this;
  }
  Record& operator+=(std::string_view s) {
    append(s);
    return *this;
  }

 private:
  void reserve(std::size_t n) {
    if (size_ + n > capacity_) grow(size_ + n);
  }
  void grow(std::size_t need) {
    std::size_t capacity = capacity_ == 0 ? 256 : capacity_;
    while (capacity < need) capacity *= 2;
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace amostra
