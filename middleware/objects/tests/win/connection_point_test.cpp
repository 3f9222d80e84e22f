// Connection points of the module's objects: advising, cookies, enumeration, lookup, and the
// firing helper every object with events uses.
#include <olectl.h>

#include <functional>
#include <vector>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"

namespace quill::test {
namespace {

using com::ComPtr;

// The container and point of one of the module's objects, created through the module.
class ConnectionPointTest : public EntryObjectsTest {
 protected:
  void SetUp() override {
    EntryObjectsTest::SetUp();
    ASSERT_EQ(device_->QueryInterface(IID_IConnectionPointContainer, container_.PutVoid()), S_OK);
    ASSERT_EQ(container_->FindConnectionPoint(IID__IDeviceTypeEvents, point_.Put()), S_OK);
  }
  void ReleaseObjects() override {
    point_.Reset();
    container_.Reset();
  }

  std::vector<DWORD> Cookies() {
    std::vector<DWORD> cookies;
    ComPtr<IEnumConnections> connections;
    EXPECT_EQ(point_->EnumConnections(connections.Put()), S_OK);
    CONNECTDATA data;
    while (connections->Next(1, &data, nullptr) == S_OK) {
      cookies.push_back(data.dwCookie);
      data.pUnk->Release();
    }
    return cookies;
  }

  ComPtr<IConnectionPointContainer> container_;
  ComPtr<IConnectionPoint> point_;
};

TEST_F(ConnectionPointTest, EachEntryObjectHasOnePointForItsEventInterface) {
  IID iid{};
  EXPECT_EQ(point_->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, IID__IDeviceTypeEvents));
  ComPtr<IConnectionPointContainer> back;
  EXPECT_EQ(point_->GetConnectionPointContainer(back.Put()), S_OK);
  EXPECT_EQ(back, container_);

  ComPtr<IConnectionPointContainer> enumeration_container;
  ASSERT_EQ(enumeration_->QueryInterface(IID_IConnectionPointContainer,
                                         enumeration_container.PutVoid()),
            S_OK);
  ComPtr<IConnectionPoint> enumeration_point;
  EXPECT_EQ(enumeration_container->FindConnectionPoint(IID__IDeviceEnumerationEvents,
                                                       enumeration_point.Put()),
            S_OK);
  EXPECT_EQ(enumeration_point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, IID__IDeviceEnumerationEvents));

  // Unknown interfaces, the other object's events included.
  IConnectionPoint* none = reinterpret_cast<IConnectionPoint*>(1);
  for (REFIID other : {IID__IDeviceEnumerationEvents, IID_IUnknown, IID__IMeridexEvents}) {
    EXPECT_EQ(container_->FindConnectionPoint(other, &none), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(none, nullptr);
  }
  EXPECT_EQ(container_->FindConnectionPoint(IID__IDeviceTypeEvents, nullptr), E_POINTER);

  // The point is an object of its own that keeps its container alive.
  ComPtr<IUnknown> point_identity, object_identity;
  ASSERT_EQ(point_->QueryInterface(IID_IUnknown, point_identity.PutVoid()), S_OK);
  ASSERT_EQ(device_->QueryInterface(IID_IUnknown, object_identity.PutVoid()), S_OK);
  EXPECT_NE(point_identity, object_identity);
  ComPtr<IDeviceType> not_there;
  EXPECT_EQ(point_->QueryInterface(IID_IDeviceType, not_there.PutVoid()), E_NOINTERFACE);
}

TEST_F(ConnectionPointTest, EnumConnectionPointsListsTheOnePoint) {
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container_->EnumConnectionPoints(points.Put()), S_OK);
  IConnectionPoint* got[2] = {};
  ULONG fetched = 9;
  EXPECT_EQ(points->Next(2, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(got[0], point_.Get());
  got[0]->Release();
  EXPECT_EQ(points->Next(1, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(points->Reset(), S_OK);
  EXPECT_EQ(points->Skip(2), S_FALSE);
  EXPECT_EQ(container_->EnumConnectionPoints(nullptr), E_POINTER);
}

TEST_F(ConnectionPointTest, AdviseQueriesTheSinkAndNumbersSlotsFromOne) {
  using Sink = CountingSink<_IDeviceTypeEvents>;
  Sink& lacking = MakeSink<Sink>(false);
  Sink& first = MakeSink<Sink>();
  Sink& second = MakeSink<Sink>();
  Sink& third = MakeSink<Sink>();
  DWORD cookie = 77;
  EXPECT_EQ(point_->Advise(&lacking, &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(lacking.references(), 0u);
  EXPECT_EQ(point_->Advise(nullptr, &cookie), E_POINTER);
  EXPECT_EQ(point_->Advise(&first, nullptr), E_POINTER);

  DWORD c1 = 0, c2 = 0, c3 = 0;
  ASSERT_EQ(point_->Advise(&first, &c1), S_OK);
  ASSERT_EQ(point_->Advise(&second, &c2), S_OK);
  EXPECT_EQ(c1, 1u);
  EXPECT_EQ(c2, 2u);
  EXPECT_EQ(first.references(), 1u);  // the point's own reference
  EXPECT_EQ(Cookies(), (std::vector<DWORD>{1, 2}));

  // A freed slot is reused before the array grows; the same sink may be advised twice.
  ASSERT_EQ(point_->Unadvise(c1), S_OK);
  EXPECT_EQ(first.references(), 0u);
  ASSERT_EQ(point_->Advise(&third, &c3), S_OK);
  EXPECT_EQ(c3, 1u);
  DWORD again = 0;
  ASSERT_EQ(point_->Advise(&second, &again), S_OK);
  EXPECT_EQ(again, 3u);
  EXPECT_EQ(second.references(), 2u);
  EXPECT_EQ(Cookies(), (std::vector<DWORD>{1, 2, 3}));

  // Cookies that name no sink: never given, already freed, zero.
  for (DWORD bad : {DWORD{0}, DWORD{4}, DWORD{1000}}) {
    EXPECT_EQ(point_->Unadvise(bad), CONNECT_E_NOCONNECTION) << bad;
  }
  ASSERT_EQ(point_->Unadvise(2), S_OK);
  EXPECT_EQ(point_->Unadvise(2), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(Cookies(), (std::vector<DWORD>{1, 3}));

  // Sinks still connected are released with the object.
  point_.Reset();
  container_.Reset();
  device_.Reset();
  EXPECT_EQ(second.references(), 0u);
  EXPECT_EQ(third.references(), 0u);
}

TEST_F(ConnectionPointTest, EnumConnectionsIsASnapshotWithReferences) {
  using Sink = CountingSink<_IDeviceTypeEvents>;
  Sink& a = MakeSink<Sink>();
  Sink& b = MakeSink<Sink>();
  Sink& c = MakeSink<Sink>();
  DWORD ca = 0, cb = 0, cc = 0;
  ASSERT_EQ(point_->Advise(&a, &ca), S_OK);
  ASSERT_EQ(point_->Advise(&b, &cb), S_OK);
  ASSERT_EQ(point_->Advise(&c, &cc), S_OK);
  ASSERT_EQ(point_->Unadvise(cb), S_OK);

  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(point_->EnumConnections(connections.Put()), S_OK);
  EXPECT_EQ(a.references(), 2u);  // the point and the enumerator
  EXPECT_EQ(point_->EnumConnections(nullptr), E_POINTER);

  CONNECTDATA data[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(connections->Next(1, data, nullptr), S_OK);
  EXPECT_EQ(data[0].dwCookie, 1u);
  EXPECT_EQ(data[0].pUnk, static_cast<IUnknown*>(&a));
  data[0].pUnk->Release();
  EXPECT_EQ(connections->Next(2, data, nullptr), E_POINTER);  // a count needs `fetched`

  // A clone continues from the same place; Reset and Skip move independently.
  ComPtr<IEnumConnections> clone;
  ASSERT_EQ(connections->Clone(clone.Put()), S_OK);
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(data[0].dwCookie, 3u);
  data[0].pUnk->Release();
  EXPECT_EQ(clone->Next(1, data, &fetched), S_OK);
  EXPECT_EQ(data[0].dwCookie, 3u);
  data[0].pUnk->Release();
  EXPECT_EQ(clone->Reset(), S_OK);
  EXPECT_EQ(clone->Skip(1), S_OK);
  EXPECT_EQ(clone->Skip(2), S_FALSE);
  EXPECT_EQ(clone->Next(1, data, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(clone->Clone(nullptr), E_POINTER);

  // Later changes do not show in the snapshot; its references go with it.
  ASSERT_EQ(point_->Unadvise(ca), S_OK);
  EXPECT_EQ(connections->Reset(), S_OK);
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  data[0].pUnk->Release();
  data[1].pUnk->Release();
  connections.Reset();
  clone.Reset();
  EXPECT_EQ(a.references(), 0u);
  EXPECT_EQ(c.references(), 1u);
  ASSERT_EQ(point_->Unadvise(cc), S_OK);
}

// ---- firing -------------------------------------------------------------------------------

// An object with an event interface that has a method, as later feature objects have.
class CTestSource final : public com::ComObject<com::EventSource<_IMeridexEvents>> {
 public:
  HRESULT Notify(LONG dpi, HRESULT result_without_sinks) {
    _TMeridexInfoType info{1, dpi, dpi, 0};
    return FireEvents(result_without_sinks,
                      [&](_IMeridexEvents* sink) { return sink->OnMeridexEvent(&info); });
  }
};

class RecordingSink : public CountingSink<_IMeridexEvents> {
 public:
  RecordingSink(int id, std::vector<int>& calls, HRESULT answer)
      : id_(id), calls_(calls), answer_(answer) {}
  STDMETHODIMP OnMeridexEvent(_TMeridexInfoType* info) override {
    calls_.push_back(id_);
    references_during_call = references();
    last_dpi = info->DpiX;
    if (during_call) during_call();
    return answer_;
  }
  std::function<void()> during_call;
  ULONG references_during_call = 0;
  LONG last_dpi = 0;

 private:
  int id_;
  std::vector<int>& calls_;
  HRESULT answer_;
};

class FireTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    source_ = com::MakeComObject<CTestSource>();
    ASSERT_TRUE(source_);
    ASSERT_EQ(source_->FindConnectionPoint(IID__IMeridexEvents, point_.Put()), S_OK);
  }
  void TearDown() override {
    point_.Reset();
    source_.Reset();
    ComTest::TearDown();
  }
  DWORD Advise(IUnknown* sink) {
    DWORD cookie = 0;
    EXPECT_EQ(point_->Advise(sink, &cookie), S_OK);
    return cookie;
  }

  ComPtr<CTestSource> source_;
  ComPtr<IConnectionPoint> point_;
  std::vector<int> calls_;
};

TEST_F(FireTest, WithoutSinksTheCallersResultComesBack) {
  EXPECT_EQ(source_->Notify(800, E_FAIL), E_FAIL);
  EXPECT_EQ(source_->Notify(800, S_OK), S_OK);
}

TEST_F(FireTest, SinksAreCalledInSlotOrderHeldAndTheLastResultReturned) {
  RecordingSink& one = MakeSink<RecordingSink>(1, calls_, E_ABORT);
  RecordingSink& two = MakeSink<RecordingSink>(2, calls_, S_FALSE);
  RecordingSink& three = MakeSink<RecordingSink>(3, calls_, S_OK);
  Advise(&one);
  const DWORD c2 = Advise(&two);
  Advise(&three);
  ASSERT_EQ(point_->Unadvise(c2), S_OK);
  Advise(&two);  // takes slot 2 again, so it is called second
  EXPECT_EQ(source_->Notify(1200, E_FAIL), S_OK);
  EXPECT_EQ(calls_, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(one.references_during_call, 2u);  // the point's reference and the call's
  EXPECT_EQ(one.references(), 1u);
  EXPECT_EQ(three.last_dpi, 1200);

  ASSERT_EQ(point_->Unadvise(3), S_OK);
  calls_.clear();
  EXPECT_EQ(source_->Notify(1200, E_FAIL), S_FALSE);  // the last sink is now `two`
  EXPECT_EQ(calls_, (std::vector<int>{1, 2}));
}

TEST_F(FireTest, SinksMayUnadviseAndAdviseWhileBeingCalled) {
  RecordingSink& one = MakeSink<RecordingSink>(1, calls_, S_OK);
  RecordingSink& two = MakeSink<RecordingSink>(2, calls_, S_OK);
  RecordingSink& late = MakeSink<RecordingSink>(3, calls_, S_OK);
  const DWORD c1 = Advise(&one);
  Advise(&two);
  // `one` leaves while it is called: the call's reference keeps it until the call returns.
  one.during_call = [&] {
    EXPECT_EQ(point_->Unadvise(c1), S_OK);
    EXPECT_EQ(one.references(), 1u);
  };
  // `two` brings in two more sinks: the first takes the freed slot 1, which this round has
  // passed; the second grows the array and is still called in this round.
  RecordingSink& later = MakeSink<RecordingSink>(4, calls_, S_OK);
  DWORD late_cookie = 0, later_cookie = 0;
  bool brought = false;
  two.during_call = [&] {
    if (brought) return;
    brought = true;
    late_cookie = Advise(&late);
    later_cookie = Advise(&later);
  };
  EXPECT_EQ(source_->Notify(400, E_FAIL), S_OK);
  EXPECT_EQ(calls_, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(late_cookie, 1u);
  EXPECT_EQ(later_cookie, 3u);
  EXPECT_EQ(one.references(), 0u);
  calls_.clear();
  EXPECT_EQ(source_->Notify(400, E_FAIL), S_OK);
  EXPECT_EQ(calls_, (std::vector<int>{3, 2, 4}));
}

}  // namespace
}  // namespace quill::test
