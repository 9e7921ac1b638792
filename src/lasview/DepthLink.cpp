#include "lasview/DepthLink.h"

#include <algorithm>

#include "lasview/LasSession.h"

namespace corvane {

class CDepthLink::CMember : public CLasSessionObserver {
 public:
  CMember(CDepthLink& link, CLasSession& session) : m_link(link), m_session(session) {
    m_session.AddObserver(this);
  }
  ~CMember() {
    if (!m_gone) m_session.RemoveObserver(this);
  }
  CMember(const CMember&) = delete;
  CMember& operator=(const CMember&) = delete;

  CLasSession& Session() const { return m_session; }

  void OnSessionChanged(unsigned changes) override {
    if (changes & SessionChange::kClosing) {
      m_gone = true;
      m_session.RemoveObserver(this);
      m_link.Remove(m_session);  // deletes this member: nothing after it
      return;
    }
    if (changes & SessionChange::kView) m_link.Follow(m_session);
  }

 private:
  CDepthLink& m_link;
  CLasSession& m_session;
  bool m_gone = false;
};

CDepthLink::CDepthLink() = default;

CDepthLink::~CDepthLink() { Clear(); }

void CDepthLink::Add(CLasSession& session, bool lead) {
  if (Contains(session)) return;
  m_members.push_back(std::make_unique<CMember>(*this, session));
  if (lead)
    Follow(session);
  else if (m_members.size() > 1)
    Follow(m_members.front()->Session());
}

void CDepthLink::Remove(CLasSession& session) {
  std::erase_if(m_members, [&session](const std::unique_ptr<CMember>& member) {
    return &member->Session() == &session;
  });
}

void CDepthLink::Clear() { m_members.clear(); }

bool CDepthLink::Contains(const CLasSession& session) const {
  return std::any_of(m_members.begin(), m_members.end(), [&session](const std::unique_ptr<CMember>& member) {
    return &member->Session() == &session;
  });
}

void CDepthLink::Follow(const CLasSession& lead) {
  if (m_following) return;
  m_following = true;
  const double top = lead.Top();
  const double base = lead.Base();
  // A member's move may take another member away (a window closing meanwhile): by copy.
  std::vector<CLasSession*> others;
  for (const std::unique_ptr<CMember>& member : m_members)
    if (&member->Session() != &lead) others.push_back(&member->Session());
  for (CLasSession* other : others)
    if (Contains(*other)) other->SetDepthRange(top, base);
  m_following = false;
}

}  // namespace corvane
