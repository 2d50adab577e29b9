#include "player/bookmarks/list_box.h"

#include "common/runtime/vb_error.h"

namespace orva {

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) RaiseVbError(vberr::kInvalidCall);
  items_.erase(items_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  Touch();
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) throw VbError(380, "Valore della proprietà non valido");
  listIndex_ = index;
  Touch();
  if (index >= 0 && Click) Click();
}

}  // namespace orva
