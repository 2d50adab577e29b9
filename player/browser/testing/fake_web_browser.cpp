#include "player/browser/testing/fake_web_browser.h"

#include "common/platform/host_paths.h"
#include "common/runtime/vb_error.h"

namespace orva {

class FakeDocument::Element : public HtmlElement {
 public:
  explicit Element(FakeElement e) : e_(std::move(e)) {}
  std::string tagName() const override { return e_.tagName; }
  std::string content() const override { return e_.content; }
  std::string href() const override { return e_.href; }
  std::string value() const override { return e_.value; }
  FakeElement e_;
};

FakeDocument::FakeDocument(FakePage page) : page_(std::move(page)) {
  for (const FakeElement& e : page_.elements) elements_.push_back(std::make_unique<Element>(e));
}

FakeDocument::~FakeDocument() = default;

const HtmlElement* FakeDocument::All(std::string_view nameOrId) const {
  for (const auto& e : elements_)
    if (e->e_.name == nameOrId || e->e_.id == nameOrId) return e.get();
  return nullptr;
}

void FakeDocument::createStyleSheet(const std::string& address, std::int32_t index) {
  added_.push_back({address, index});
  ++page_.styleSheets;
}

void FakeDocument::FocusBodyElement(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(elements_.size()) + 1)
    RaiseVbError(vberr::kSubscriptOutOfRange);
  focused_ = index;
}

void FakeDocument::SetValue(std::string_view nameOrId, std::string value) {
  for (auto& e : elements_)
    if (e->e_.name == nameOrId || e->e_.id == nameOrId) e->e_.value = std::move(value);
}

FakeWebBrowser::~FakeWebBrowser() { loop_.StopTimer(pending_); }

void FakeWebBrowser::AddPage(const std::string& address, FakePage page) { pages_[address] = std::move(page); }

std::string FakeWebBrowser::AddressFor(const std::string& requested) {
  if (!AddressAsCorePath(requested)) return NormaliseFileAddress(requested);
  std::string path = HostPathFromCore(requested, nullptr);
  if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
  std::string url = "file://";
  for (char c : path) url += c == ' ' ? std::string("%20") : std::string(1, c);
  return url;
}

std::string FakeWebBrowser::LocationName() const {
  if (document_ && !document_->title().empty()) return document_->title();
  std::string path = location_.substr(0, location_.find_first_of("?#"));
  return path.substr(path.rfind('/') + 1);
}

void FakeWebBrowser::Navigate2(const std::string& address) {
  requested_.push_back(address);
  bool cancel = false;
  if (Events()) Events()->OnBeforeNavigate2(address, cancel);
  if (!cancel) Load(AddressFor(address));
}

void FakeWebBrowser::ClickLink(const std::string& address) { Navigate2(address); }

void FakeWebBrowser::Load(const std::string& address) {
  loop_.StopTimer(pending_);
  pending_ = kNoTimer;
  readyState_ = readystate::kLoading;
  if (holdLoads_) return;
  pending_ = loop_.StartTimer(0, [this, address] {
    pending_ = kNoTimer;
    Finish(address);
  });
}

void FakeWebBrowser::Finish(const std::string& address) {
  const std::string bare = address.substr(0, address.find('#'));
  auto it = pages_.find(bare);
  FakePage page = it != pages_.end() ? it->second : FakePage{};
  document_ = std::make_unique<FakeDocument>(std::move(page));
  location_ = address;
  readyState_ = readystate::kComplete;
  completed_.push_back(address);
  if (Events()) {
    Events()->OnTitleChange(LocationName());
    Events()->OnDocumentComplete(address);
  }
}

}  // namespace orva
