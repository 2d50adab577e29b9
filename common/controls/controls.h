#pragma once
// Models of the old form controls whose handlers fire when code sets them.
// The program relies on this: setting a field in Form_Load writes it back to
// the store through the field's own change handler.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orva {

// Check box: Value 0 clear, 1 ticked, 2 grayed. Click fires when the value
// changes, whether the reader or the code changed it; setting the value it
// already has fires nothing.
class CheckBox {
 public:
  explicit CheckBox(std::string caption = {}) : caption_(std::move(caption)) {}
  std::function<void()> Click;

  int Value() const { return value_; }
  void SetValue(int value) {
    if (value == value_) return;
    value_ = value;
    if (Click) Click();
  }
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
  int value_ = 0;
};

// Text box: Change fires whenever the text changes, from code or from the
// reader; setting the same text fires nothing.
class TextBox {
 public:
  std::function<void()> Change;

  const std::string& Text() const { return text_; }
  void SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (Change) Change();
  }

 private:
  std::string text_;
};

// A control array of option buttons sharing one group: setting one to True
// clears the others (without events) and fires Click(index) when it was not
// already chosen.
class OptionGroup {
 public:
  explicit OptionGroup(std::vector<std::pair<int, std::string>> indexedCaptions)
      : options_(std::move(indexedCaptions)), values_(options_.size(), false) {}
  std::function<void(int index)> Click;

  bool Value(int index) const {
    const auto pos = Position(index);
    return pos >= 0 && values_[static_cast<std::size_t>(pos)];
  }
  void SetValue(int index, bool value) {
    const auto pos = Position(index);
    if (pos < 0) return;
    const auto p = static_cast<std::size_t>(pos);
    if (!value) {
      values_[p] = false;
      return;
    }
    if (values_[p]) return;
    for (std::size_t i = 0; i < values_.size(); ++i) values_[i] = (i == p);
    if (Click) Click(index);
  }
  // Index of the chosen button, or -1.
  int Chosen() const {
    for (std::size_t i = 0; i < values_.size(); ++i)
      if (values_[i]) return options_[i].first;
    return -1;
  }
  const std::vector<std::pair<int, std::string>>& Options() const { return options_; }

 private:
  int Position(int index) const {
    for (std::size_t i = 0; i < options_.size(); ++i)
      if (options_[i].first == index) return static_cast<int>(i);
    return -1;
  }
  std::vector<std::pair<int, std::string>> options_;
  std::vector<bool> values_;
};

}  // namespace orva
