#pragma once

// The ordered set of shown drawables: ascending z, and among equal z in the order they were
// inserted. Insertion and removal are logarithmic; a drawable keeps its position to leave
// without a search.

#include <cstddef>
#include <set>

namespace TarnwickApp {

class Drawable;

class DrawList {
  struct ByDepth {
    bool operator()(const Drawable* a, const Drawable* b) const;
  };
  using Entries = std::multiset<Drawable*, ByDepth>;

 public:
  using Position = Entries::iterator;

  // Inserts after every entry of the same z.
  Position insert(Drawable* drawable) { return entries_.insert(drawable); }
  void remove(Position position) { entries_.erase(position); }

  Entries::const_iterator begin() const { return entries_.begin(); }
  Entries::const_iterator end() const { return entries_.end(); }
  std::size_t size() const { return entries_.size(); }

 private:
  Entries entries_;
};

}  // namespace TarnwickApp

// The one draw list that shown drawables join and the render pass walks; the application makes
// it before start-up.
extern TarnwickApp::DrawList* drawList;
