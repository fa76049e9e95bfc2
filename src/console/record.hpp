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
  static constexpr std::size_t kLargest = std::size_t(1) << 30;
  void clear() { size_ = 0; }
  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }

  void append(std::size_t n, char c) {
    if (n == 0 || n > kLargest) return;  // the buffer may not exist yet
    reserve(n + 16);
    char* d = data_.get() + size_;
    if (n <= 16) std::memset(d, c, 16);  // a fixed size: a few stores, no call
    else std::memset(d, c, n);
    size_ += n;
  }
  void append(const char* s, std::size_t n) {
    if (n == 0) return;
    reserve(n);
    char* d = data_.get() + size_;
    // Short pieces by two overlapping fixed-size copies, without a call.
    if (n > 16 && n <= 32) {
      std::memcpy(d, s, 16);
      std::memcpy(d + n - 16, s + n - 16, 16);
    } else if (n >= 8 && n <= 16) {
      std::memcpy(d, s, 8);
      std::memcpy(d + n - 8, s + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      std::memcpy(d, s, 4);
      std::memcpy(d + n - 4, s + n - 4, 4);
    } else if (n < 4) {
      d[0] = s[0];
      d[n / 2] = s[n / 2];
      d[n - 1] = s[n - 1];
    } else {
      std::memcpy(d, s, n);
    }
    size_ += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  // Room for n more bytes, to be filled by the caller; 16 more may be written.
  char* extend(std::size_t n) {
    reserve(n + 16);
    char* d = data_.get() + size_;
    size_ += n;
    return d;
  }
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
