#pragma once
// The old list box control: lines in the order added, the selected line
// (ListIndex, -1 for none) and tab stops in dialog units. Setting ListIndex
// from code fires Click, as the old control did, so a selection made by a
// command reaches the same handler as one made by the reader. Changed tells
// a view that the lines, the selection or the tab stops moved, once per
// change, after the change.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orva {

class ListBox {
 public:
  std::function<void()> Click;
  std::function<void()> Changed;
  // Screen readers announce it with the selected line (see ListMarkers_Click).
  std::string ToolTipText;

  void AddItem(std::string item) {
    items_.push_back(std::move(item));
    Touch();
  }
  // Removes line `index` (from 0); raises VbError 5 when there is no such
  // line. The selection follows its line, or is cleared with it.
  void RemoveItem(int index);
  void Clear() {
    items_.clear();
    listIndex_ = -1;
    Touch();
  }

  int ListCount() const { return static_cast<int>(items_.size()); }
  // The text of line `index`; the empty text when there is no such line.
  std::string List(int index) const {
    return index >= 0 && index < ListCount() ? items_[static_cast<std::size_t>(index)] : std::string();
  }
  const std::vector<std::string>& Items() const { return items_; }

  int ListIndex() const { return listIndex_; }
  // -1 clears the selection; any other value outside the lines raises
  // VbError 380. Fires Click when a line becomes selected.
  void SetListIndex(int index);
  // The selected line's text, or the empty text.
  std::string Text() const { return List(listIndex_); }

  // Tab stops in dialog units (one value: every tab stop that far apart).
  const std::vector<int>& TabStops() const { return tabStops_; }
  void SetTabStops(std::vector<int> stops) {
    tabStops_ = std::move(stops);
    Touch();
  }

  // Grows on every change of lines or tab stops, so a view can tell when to
  // redraw without being called back for each line.
  std::uint64_t Revision() const { return revision_; }

 private:
  void Touch() {
    ++revision_;
    if (Changed) Changed();
  }

  std::vector<std::string> items_;
  int listIndex_ = -1;
  std::vector<int> tabStops_;
  std::uint64_t revision_ = 0;
};

}  // namespace orva
