#include "python/MappedDoubles.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace corvane::python {
namespace {

std::size_t PageSize() {
  static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

std::size_t WholePages(std::size_t bytes) {
  const std::size_t page = PageSize();
  return std::max<std::size_t>(page, (bytes + page - 1) / page * page);
}

}  // namespace

CMappedDoubles::~CMappedDoubles() { Unmap(m_data, m_bytes); }

CMappedDoubles::CMappedDoubles(CMappedDoubles&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_bytes(std::exchange(other.m_bytes, 0)) {}

CMappedDoubles& CMappedDoubles::operator=(CMappedDoubles&& other) noexcept {
  if (this != &other) {
    Unmap(m_data, m_bytes);
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_capacity = std::exchange(other.m_capacity, 0);
    m_bytes = std::exchange(other.m_bytes, 0);
  }
  return *this;
}

void CMappedDoubles::Grow(std::size_t count) {
  if (count > (SIZE_MAX / sizeof(double)) / 4 - m_size) throw std::bad_alloc();
  // Doubling costs only address space: untouched pages take no memory.
  const std::size_t wanted = std::max<std::size_t>({m_size + count, m_capacity * 2, 1u << 17});
  const std::size_t bytes = WholePages(wanted * sizeof(double));
  void* data = m_data == nullptr
                   ? ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                   : ::mremap(m_data, m_bytes, bytes, MREMAP_MAYMOVE);
  if (data == MAP_FAILED) throw std::bad_alloc();
  // Large pages where the system offers them: a file's values fault in a few hundred
  // times instead of tens of thousands.
  ::madvise(data, bytes, MADV_HUGEPAGE);
  m_data = static_cast<double*>(data);
  m_bytes = bytes;
  m_capacity = bytes / sizeof(double);
}

CMappedDoubles::CMapping CMappedDoubles::Release() {
  if (m_data == nullptr) Grow(0);
  const std::size_t bytes = WholePages(m_size * sizeof(double));
  if (bytes < m_bytes) {
    ::munmap(reinterpret_cast<char*>(m_data) + bytes, m_bytes - bytes);
    m_bytes = bytes;
  }
  CMapping mapping{m_data, m_bytes};
  m_data = nullptr;
  m_size = m_capacity = m_bytes = 0;
  return mapping;
}

void CMappedDoubles::Unmap(void* data, std::size_t bytes) noexcept {
  if (data != nullptr) ::munmap(data, bytes);
}

}  // namespace corvane::python
