// IEnumXxx over a copy of a list taken when the enumerator is made (IEnumConnections,
// IEnumConnectionPoints). Items are held with a reference each; Next hands out a reference per
// item it returns, as the enumeration interfaces require.
#pragma once
#include <objbase.h>
#include <ocidl.h>

#include <algorithm>
#include <vector>

#include "middleware/objects/win/com/com_object.h"

namespace quill::com {

// Reference policies for the items of the enumerations of this module.
struct ConnectDataItem {
  static void Take(const CONNECTDATA& item) { item.pUnk->AddRef(); }
  static void Drop(const CONNECTDATA& item) { item.pUnk->Release(); }
};
template <class I>
struct InterfaceItem {
  static void Take(I* item) { item->AddRef(); }
  static void Drop(I* item) { item->Release(); }
};

template <class Enum, class Item, class Policy>
class SnapshotEnumerator final : public ComObject<Enum> {
 public:
  // Takes its own reference to every item.
  SnapshotEnumerator(const std::vector<Item>& items, size_t position)
      : items_(items), position_(std::min(position, items_.size())) {
    for (const Item& item : items_) Policy::Take(item);
  }
  ~SnapshotEnumerator() override {
    for (const Item& item : items_) Policy::Drop(item);
  }

  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!out || (!fetched && count != 1)) return E_POINTER;
    ULONG n = 0;
    while (n < count && position_ < items_.size()) {
      out[n] = items_[position_++];
      Policy::Take(out[n]);
      ++n;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const size_t left = items_.size() - position_;
    position_ += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Enum** out) override {
    if (!out) return E_POINTER;
    return HandOut(MakeComObject<SnapshotEnumerator>(items_, position_), out);
  }

 private:
  const std::vector<Item> items_;
  size_t position_;
};

using ConnectionsEnumerator = SnapshotEnumerator<IEnumConnections, CONNECTDATA, ConnectDataItem>;
using ConnectionPointsEnumerator =
    SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*, InterfaceItem<IConnectionPoint>>;

}  // namespace quill::com
