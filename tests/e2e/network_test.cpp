// Network against the loopback adapter, staged as the one in use: its real
// counters under datagrams sent to 127.0.0.1 only; and adapters as Windows
// would report them, staged in a copy's run-time look-ups.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase::e2e;

namespace {

DWORD staged_index = 0;
DWORD WINAPI staged_best(IPAddr, PDWORD index) { return *index = staged_index, staged_index != 0 ? NO_ERROR : ERROR_NOT_FOUND; }
DWORD WINAPI no_route(sockaddr*, PDWORD) { return ERROR_NOT_FOUND; }

// The loopback adapter's index and name, as the test reads them itself.
IP_ADAPTER_ADDRESSES_XP* loopback(std::vector<char>& buffer) {
  ULONG size = 64 * 1024;
  buffer.resize(size);
  auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES_XP*>(buffer.data());
  if (GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(first), &size) != NO_ERROR) return nullptr;
  for (auto* entry = first; entry != nullptr; entry = entry->Next) {
    if (entry->IfType == IF_TYPE_SOFTWARE_LOOPBACK) return entry;
  }
  return nullptr;
}

// 200 datagrams of 1,000 bytes from 127.0.0.1 to 127.0.0.1, each received.
void send_datagrams() {
  const SOCKET receiver = socket(AF_INET, SOCK_DGRAM, 0), sender = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  ASSERT_EQ(bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &size);
  char datagram[1000] = {};
  for (int i = 0; i < 200; ++i) {
    sendto(sender, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&address), sizeof address);
    EXPECT_EQ(recv(receiver, datagram, sizeof datagram, 0), 1000);
  }
  closesocket(sender);
  closesocket(receiver);
}

// The answer as a number; 0 for one that is none.
std::uint64_t number(const std::string& answer) {
  return answer.find_first_not_of("0123456789") == std::string::npos && !answer.empty() ? std::stoull(answer) : 0;
}

// What a staged adapter shows: its list entry, its speed and counters.
struct StagedAdapter {
  std::uint64_t speed, received, sent;
  bool listed = true;
};
StagedAdapter adapter;
IP_ADAPTER_ADDRESSES_XP entry{};
ULONG WINAPI staged_list(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES_XP list, PULONG) {
  entry.IfIndex = 7;
  entry.IfType = IF_TYPE_IEEE80211;
  entry.OperStatus = adapter.listed ? IfOperStatusUp : IfOperStatusDown;
  entry.FriendlyName = const_cast<wchar_t*>(L"LAN-Verbindung \u00E4");
  entry.Description = const_cast<wchar_t*>(L"Intel(R) Wi-Fi 6 AX201 160MHz");
  return *list = entry, NO_ERROR;
}
// MIB_IF_ROW2: ReceiveLinkSpeed, InOctets and OutOctets.
DWORD WINAPI staged_row2(unsigned char* row) {
  for (const auto& [offset, value] : {std::pair{1200, adapter.speed}, {1208, adapter.received}, {1280, adapter.sent}}) {
    std::memcpy(row + offset, &value, sizeof value);
  }
  return NO_ERROR;
}
DWORD WINAPI staged_row(PMIB_IFROW row) {
  row->dwSpeed = static_cast<DWORD>(adapter.speed);
  row->dwInOctets = static_cast<DWORD>(adapter.received);
  row->dwOutOctets = static_cast<DWORD>(adapter.sent);
  return NO_ERROR;
}

}  // namespace

// Through GetIfEntry2's 64-bit counters, then GetIfEntry's 32-bit ones: 200
// datagrams of 1,000 bytes and their 28 bytes of headers each, in and out.
TEST(Network, CountsTheAdaptersTrafficAndItsRate) {
  WSADATA winsock;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock), 0);
  std::vector<char> buffer;
  const IP_ADAPTER_ADDRESSES_XP* own = loopback(buffer);
  ASSERT_NE(own, nullptr);
  staged_index = own->IfIndex;
  std::array<std::string, 2> speeds;
  for (const bool wide : {true, false}) {
    const FreshToolcase copy;
    std::map<std::string, FARPROC> staged{{"GetBestInterface", as_farproc(&staged_best)}};
    if (!wide) staged["GetIfEntry2"] = nullptr;
    const StagedLookup lookup(copy.module(), staged);
    EXPECT_EQ(copy.call("Network", "name"), utf8_of(own->FriendlyName));
    EXPECT_EQ(copy.call("Network", "description"), utf8_of(own->Description));
    speeds[wide] = copy.call("Network", "speed");
    // Any loopback traffic on the machine moves the counters too: tried again then.
    bool exact = false;
    for (int attempt = 0; attempt < 3 && !exact; ++attempt) {
      const std::uint64_t received = number(copy.call("Network", "received"));
      const std::uint64_t sent = number(copy.call("Network", "sent"));
      copy.call("Network", "down");  // a reading, and on the first call a second
      Sleep(300);
      copy.call("Network", "down");
      const DWORD before = GetTickCount();
      send_datagrams();
      Sleep(300);
      const std::uint64_t down = number(copy.call("Network", "down"));
      const DWORD elapsed = GetTickCount() - before;
      const std::string up = copy.call("Network", "up");  // the same readings
      exact = number(copy.call("Network", "received")) - received == 205'600 &&
              number(copy.call("Network", "sent")) - sent == 205'600 && up == std::to_string(down) &&
              down >= 205'600u * 1000 / (elapsed + 20) && down <= 205'600u * 1000 / 300;
    }
    EXPECT_TRUE(exact) << (wide ? "GetIfEntry2" : "GetIfEntry");
  }
  EXPECT_EQ(speeds[0], speeds[1]);  // ReceiveLinkSpeed as GetIfEntry's speed
  WSACleanup();
}

TEST(Network, AnswersWhatWindowsTellsOfTheAdapter) {
  const TestWindow unicode_host(L"toolcase-network-host", L"", false);
  char ansi[8] = {};
  WideCharToMultiByte(CP_ACP, 0, L"\u00E4", 1, ansi, sizeof ansi - 1, nullptr, nullptr);
  const struct {
    StagedAdapter staged;
    bool wide;
    std::string name, speed, received, down;
  } rows[] = {
      {{1'000'000'000, 5000, 300}, true, "LAN-Verbindung \xC3\xA4", "1000Mbps", "5000", ""},
      {{866'700'000, 0, 0}, true, "LAN-Verbindung " + std::string(ansi), "866.7Mbps", "0", ""},
      {{100'000, 5000, 0}, true, "", "0.1Mbps", "5000", "4000"},  // then 1000: restarted
      {{UINT64_MAX, 0, 0}, true, "", "false", "0", ""},
      {{0, 0xFFFFFF00, 0}, false, "", "false", "4294967040", "2048"},  // then 0x100: wrapped
      {{1'000'000'000, 0, 0, false}, true, "false", "false", "false", "false"},
  };
  for (const auto& row : rows) {
    const FreshToolcase copy;
    const StagedLookup lookup(copy.module(), {{"GetBestInterface", as_farproc(&no_route)}, {"GetBestInterfaceEx", as_farproc(&no_route)},
                                              {"GetAdaptersAddresses", as_farproc(&staged_list)},
                                              {"GetIfEntry2", row.wide ? as_farproc(&staged_row2) : nullptr},
                                              {"GetIfEntry", as_farproc(&staged_row)}});
    adapter = row.staged;
    if (!row.name.empty()) {
      const bool ansi_host = row.name.find(ansi) != std::string::npos;
      EXPECT_EQ(copy.call("Network", "NAME", ansi_host ? nullptr : unicode_host.handle()), row.name);
    }
    EXPECT_EQ(copy.call("Network", "speed"), row.speed);
    EXPECT_EQ(copy.call("Network", "received"), row.received);
    if (row.down.empty()) continue;
    std::thread later([&] { Sleep(100); adapter.received = row.wide ? 1000 : 0x100; });
    EXPECT_NEAR(static_cast<double>(number(copy.call("Network", "down"))), number(row.down), number(row.down) * 0.1);
    later.join();
  }
  EXPECT_EQ(call("Network", "speeds"), "error");
}

// Counters that grow by a byte a microsecond of the performance counter.
DWORD WINAPI clocked_row2(unsigned char* row) {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  const auto count = static_cast<std::uint64_t>(now.QuadPart), per_second = static_cast<std::uint64_t>(frequency.QuadPart);
  const std::uint64_t bytes = count / per_second * 1'000'000 + count % per_second * 1'000'000 / per_second;
  for (const int offset : {1208, 1280}) std::memcpy(row + offset, &bytes, sizeof bytes);
  return NO_ERROR;
}

// Two $dllcall threads asking at once record their readings out of order:
// every answer is still the rate over two due readings, 1,000,000 bytes a second.
TEST(Network, OverlappingCallersAnswerRealRates) {
  const FreshToolcase copy;
  staged_index = 7;
  const StagedLookup lookup(copy.module(), {{"GetBestInterface", as_farproc(&staged_best)},
                                            {"GetIfEntry2", as_farproc(&clocked_row2)}});
  copy.call("Network", "down");  // two readings
  std::array<std::vector<std::string>, 2> answers;
  std::vector<std::thread> callers;
  for (const int caller : {0, 1}) {
    callers.emplace_back([&, caller] {
      for (int i = 0; i < 60; ++i, Sleep(i % 7)) answers[caller].push_back(copy.call("Network", caller ? "up" : "down"));
    });
  }
  for (std::thread& caller : callers) caller.join();
  for (const auto& of_caller : answers) {
    for (const std::string& answer : of_caller) EXPECT_NEAR(static_cast<double>(number(answer)), 1e6, 5e4) << answer;
  }
}
