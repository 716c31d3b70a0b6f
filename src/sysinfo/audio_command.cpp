// Audio: the sound devices as Windows' sound settings name them, through the
// MMDevice API (Windows Vista and later). ole32 is bound late, so that the
// 32-bit DLL still loads on Windows XP, where there is no such API.
#include <mmdeviceapi.h>

#include <array>
#include <optional>
#include <string_view>

#include "host/command.h"
#include "host/late_bound.h"
#include "host/text.h"
#include "host/unique_handle.h"
#include "host/wide_text.h"

using namespace toolcase;

namespace {

using InitializeCom = HRESULT(WINAPI*)(LPVOID, DWORD);
using UninitializeCom = void(WINAPI*)();
using CreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using ClearVariant = HRESULT(WINAPI*)(PROPVARIANT*);
using FreeTaskMemory = void(WINAPI*)(LPVOID);
LateBound initialize_com(SystemModule::ole32, "CoInitializeEx");
LateBound uninitialize_com(SystemModule::ole32, "CoUninitialize");
LateBound create_instance(SystemModule::ole32, "CoCreateInstance");
LateBound clear_variant(SystemModule::ole32, "PropVariantClear");
LateBound free_task_memory(SystemModule::ole32, "CoTaskMemFree");

// Declared here, not taken from a library of GUIDs: the DLL links none.
constexpr CLSID kDeviceEnumerator{0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
constexpr IID kDeviceEnumeratorInterface{0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
// PKEY_Device_FriendlyName: "Speakers (Realtek(R) Audio)".
constexpr PROPERTYKEY kDeviceName{{0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};
// PKEY_DeviceInterface_FriendlyName: the card behind it, "Realtek(R) Audio".
constexpr PROPERTYKEY kCardName{{0x026E516E, 0xB814, 0x414B, {0x83, 0xCD, 0x85, 0x6D, 0x6F, 0xEF, 0x48, 0x22}}, 2};

enum class AudioRequest { output, input, card, count };
constexpr std::array<text::Keyword<AudioRequest>, 5> kRequests{{
    {"", AudioRequest::output},
    {"output", AudioRequest::output},
    {"input", AudioRequest::input},
    {"card", AudioRequest::card},
    {"count", AudioRequest::count},
}};

// COM on the calling thread for one call: initialised (multithreaded) only
// where the thread has none, and uninitialised when the call ends; a thread
// whose apartment the host set up keeps it as it is.
class ComForCall {
 public:
  ComForCall() {
    const auto initialize = initialize_com.as<InitializeCom>();
    if (initialize == nullptr || uninitialize_com.as<UninitializeCom>() == nullptr) return;
    const HRESULT result = initialize(nullptr, COINIT_MULTITHREADED);
    // S_FALSE: the thread had this apartment already, and the call counted once more.
    usable_ = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    counted_ = SUCCEEDED(result);
  }
  ~ComForCall() {
    if (counted_) uninitialize_com.as<UninitializeCom>()();
  }
  ComForCall(const ComForCall&) = delete;
  ComForCall& operator=(const ComForCall&) = delete;
  bool usable() const { return usable_; }

 private:
  bool usable_ = false;
  bool counted_ = false;
};

// A string property of the device, in the call's encoding; empty when it has none.
Text device_text(IMMDevice* device, const PROPERTYKEY& key, TextEncoding encoding) {
  const auto clear = clear_variant.as<ClearVariant>();
  IPropertyStore* opened = nullptr;
  if (clear == nullptr || FAILED(device->OpenPropertyStore(STGM_READ, &opened)) || opened == nullptr) return Text();
  const unique_com<IPropertyStore> store(opened);
  PROPVARIANT value;
  PropVariantInit(&value);
  if (FAILED(store.get()->GetValue(key, &value))) return Text();
  Text text;
  if (value.vt == VT_LPWSTR && value.pwszVal != nullptr) text = text_in_encoding(value.pwszVal, encoding);
  clear(&value);
  return text;
}

// The device's id, compared to tell the default device in the list.
bool same_device(IMMDevice* device, IMMDevice* other) {
  const auto free = free_task_memory.as<FreeTaskMemory>();
  LPWSTR id = nullptr, other_id = nullptr;
  if (free == nullptr) return false;
  const bool both = SUCCEEDED(device->GetId(&id)) && SUCCEEDED(other->GetId(&other_id)) && id != nullptr &&
                    other_id != nullptr;
  const bool same = both && std::wstring_view(id) == std::wstring_view(other_id);
  free(id);
  free(other_id);
  return same;
}

// The default playback or recording device (the console role); null when
// there is none.
unique_com<IMMDevice> default_device(IMMDeviceEnumerator* devices, EDataFlow flow) {
  IMMDevice* device = nullptr;
  if (FAILED(devices->GetDefaultAudioEndpoint(flow, eConsole, &device))) device = nullptr;
  return unique_com<IMMDevice>(device);
}

// The active playback devices: how many, and the one of that number (from
// 1: the default one, then the others in Windows' order) in `chosen`.
UINT active_outputs(IMMDeviceEnumerator* devices, UINT number, unique_com<IMMDevice>& chosen) {
  IMMDeviceCollection* listed = nullptr;
  UINT count = 0;
  if (FAILED(devices->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, &listed)) || listed == nullptr) return 0;
  const unique_com<IMMDeviceCollection> collection(listed);
  if (FAILED(collection.get()->GetCount(&count)) || number == 0 || number > count) return count;
  unique_com<IMMDevice> fallback = default_device(devices, eRender);
  if (fallback && number == 1) {
    chosen = std::move(fallback);
    return count;
  }
  // Past the default one, which is first.
  UINT seen = fallback ? 1 : 0;
  for (UINT index = 0; index < count; ++index) {
    IMMDevice* item = nullptr;
    if (FAILED(collection.get()->Item(index, &item)) || item == nullptr) continue;
    unique_com<IMMDevice> device(item);
    if (fallback && same_device(device.get(), fallback.get())) continue;
    if (++seen == number) {
      chosen = std::move(device);
      break;
    }
  }
  return count;
}

}  // namespace

// "" or "output", "input", "card", "count", or "N": the sound devices.
TOOLCASE_COMMAND(Audio) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const std::optional<AudioRequest> request = text::look_up(kRequests, input);
    // The device's number (1 to 4294967295, no sign or leading zero), 0 for a keyword.
    const UINT number = request ? 0 : text::parse_prefixed_id(input.view(), "").id;
    if (!request && number == 0) return Text(kError);
    const ComForCall com;
    IMMDeviceEnumerator* created = nullptr;
    const auto create = create_instance.as<CreateInstance>();
    if (!com.usable() || create == nullptr ||
        FAILED(create(kDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, kDeviceEnumeratorInterface,
                      reinterpret_cast<void**>(&created))) ||
        created == nullptr) {
      // No audio API (Windows XP) or no audio service: no device.
      return Text(request == AudioRequest::count ? std::string_view("0") : number != 0 ? kError : kFalse);
    }
    const unique_com<IMMDeviceEnumerator> devices(created);
    unique_com<IMMDevice> device;
    if (request == AudioRequest::count || number != 0) {
      const UINT count = active_outputs(devices.get(), number, device);
      if (request == AudioRequest::count) return Text(text::id_to_text(count));
      if (number > count) return Text(kError);
    } else {
      device = default_device(devices.get(), request == AudioRequest::input ? eCapture : eRender);
    }
    const Text name =
        device ? device_text(device.get(), request == AudioRequest::card ? kCardName : kDeviceName, encoding) : Text();
    return name.empty() ? Text(kFalse) : name;
  });
}
