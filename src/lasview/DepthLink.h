#pragma once
// Window > Link Depths: the depth ranges of several open LAS files kept together. When
// the view of one session moves, the others show the same depths (each kept within its
// own file, as its session keeps every view). A session that goes leaves the link by
// itself. Qt-free: the shell holds one and adds the sessions of its LAS windows.
#include <memory>
#include <vector>

namespace corvane {

class CLasSession;

class CDepthLink {
 public:
  CDepthLink();
  ~CDepthLink();
  CDepthLink(const CDepthLink&) = delete;
  CDepthLink& operator=(const CDepthLink&) = delete;

  // Joins a session; the others take its depths when `lead` (else it takes theirs,
  // when there are others).
  void Add(CLasSession& session, bool lead = false);
  void Remove(CLasSession& session);
  void Clear();
  bool Contains(const CLasSession& session) const;
  std::size_t Size() const { return m_members.size(); }

 private:
  class CMember;
  void Follow(const CLasSession& lead);

  std::vector<std::unique_ptr<CMember>> m_members;
  bool m_following = false;  // the others are being moved: their own moves are not news
};

}  // namespace corvane
