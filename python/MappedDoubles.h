#pragma once
// A growing array of doubles in memory of its own mapping, so that growing it never
// copies (the pages move, their contents stay) and never holds the old and the new
// room at once: a file's values take their final size and no more, whatever the
// number of rows. The array can be handed over whole, its mapping cut to its size.
#include <cstddef>

namespace corvane::python {

class CMappedDoubles {
 public:
  CMappedDoubles() = default;
  ~CMappedDoubles();
  CMappedDoubles(CMappedDoubles&& other) noexcept;
  CMappedDoubles& operator=(CMappedDoubles&& other) noexcept;
  CMappedDoubles(const CMappedDoubles&) = delete;
  CMappedDoubles& operator=(const CMappedDoubles&) = delete;

  // Room for `count` more values at the end, which the caller fills. Throws
  // std::bad_alloc when the memory is not there.
  double* Extend(std::size_t count) {
    if (m_size + count > m_capacity) Grow(count);
    double* room = m_data + m_size;
    m_size += count;
    return room;
  }
  std::size_t Size() const noexcept { return m_size; }
  const double* Data() const noexcept { return m_data; }

  // Hands the values over: the mapping, cut to the values' pages, is the caller's to
  // unmap with Unmap(data, bytes). A mapping of one page stands for no values.
  struct CMapping {
    double* data = nullptr;
    std::size_t bytes = 0;
  };
  CMapping Release();
  static void Unmap(void* data, std::size_t bytes) noexcept;

 private:
  void Grow(std::size_t count);

  double* m_data = nullptr;
  std::size_t m_size = 0;
  std::size_t m_capacity = 0;  // values
  std::size_t m_bytes = 0;     // of the mapping
};

}  // namespace corvane::python
