// The Windows HID backend against a fake SetupAPI and HID.dll: the interfaces, what opens, what
// they answer, and a simulated mouse behind the feature reports.
#include "device/windows/windows_hid_backend.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "device/hid_transport.h"
#include "sim/sim_presets.h"

namespace device {
namespace {

constexpr GUID kOwnClass{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
const HDEVINFO kList = reinterpret_cast<HDEVINFO>(0x5000);

struct FakeInterface {
    std::string path;
    USHORT vendorId = 0x1209, productId = 0x5158;
    USHORT featureLength = 8;
    bool opens = true;
    bool answersAttributes = true;
    sim::MouseFirmware* firmware = nullptr;
};

// What the fake functions see and answer; one test at a time uses it.
struct Fake {
    std::vector<FakeInterface> interfaces;
    bool listFails = false;
    GUID askedClass{};
    DWORD askedFlags = 0;
    int opens = 0, closes = 0, lists = 0, destroyed = 0, wrongRecordSizes = 0, wrongLengths = 0;
    FakeInterface* at(HANDLE h) {
        const auto i = reinterpret_cast<std::size_t>(h) - 100;
        return i < interfaces.size() ? &interfaces[i] : nullptr;
    }
} fake;

void WINAPI getHidGuid(GUID* g) {
    *g = kOwnClass;
}
HDEVINFO WINAPI getClassDevs(const GUID* g, PCSTR, HWND, DWORD flags) {
    fake.askedClass = *g;
    fake.askedFlags = flags;
    ++fake.lists;
    return fake.listFails ? static_cast<HDEVINFO>(INVALID_HANDLE_VALUE) : kList;
}
BOOL WINAPI enumInterfaces(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD index,
                           PSP_DEVICE_INTERFACE_DATA data) {
    if (index >= fake.interfaces.size()) return FALSE;
    data->Reserved = index;
    return TRUE;
}
BOOL WINAPI interfaceDetail(HDEVINFO, PSP_DEVICE_INTERFACE_DATA data,
                            PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD size, PDWORD required,
                            PSP_DEVINFO_DATA) {
    const std::string& path = fake.interfaces[data->Reserved].path;
    const DWORD needed = static_cast<DWORD>(
        offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + path.size() + 1);
    if (!detail) {
        if (required) *required = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) ++fake.wrongRecordSizes;
    if (size < needed) return FALSE;
    memcpy(detail->DevicePath, path.c_str(), path.size() + 1);
    return TRUE;
}
BOOL WINAPI destroyList(HDEVINFO) {
    ++fake.destroyed;
    return TRUE;
}
HANDLE WINAPI createFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                         DWORD disposition, DWORD, HANDLE) {
    if (access != 0 || share != (FILE_SHARE_READ | FILE_SHARE_WRITE) ||
        disposition != OPEN_EXISTING)
        return INVALID_HANDLE_VALUE;
    for (std::size_t i = 0; i < fake.interfaces.size(); ++i) {
        if (fake.interfaces[i].path != path || !fake.interfaces[i].opens) continue;
        ++fake.opens;
        return reinterpret_cast<HANDLE>(100 + i);
    }
    return INVALID_HANDLE_VALUE;
}
BOOL WINAPI closeHandle(HANDLE) {
    ++fake.closes;
    return TRUE;
}
BOOLEAN WINAPI getAttributes(HANDLE h, PHIDD_ATTRIBUTES a) {
    const FakeInterface* i = fake.at(h);
    if (!i || !i->answersAttributes) return FALSE;
    a->VendorID = i->vendorId;
    a->ProductID = i->productId;
    a->VersionNumber = 0x0100;
    return TRUE;
}
BOOLEAN WINAPI getPreparsed(HANDLE h, PHIDP_PREPARSED_DATA* data) {
    *data = reinterpret_cast<PHIDP_PREPARSED_DATA>(h);
    return TRUE;
}
BOOLEAN WINAPI freePreparsed(PHIDP_PREPARSED_DATA) {
    return TRUE;
}
NTSTATUS WINAPI getCaps(PHIDP_PREPARSED_DATA data, PHIDP_CAPS caps) {
    caps->FeatureReportByteLength = fake.at(reinterpret_cast<HANDLE>(data))->featureLength;
    return 0x00110000;
}
BOOLEAN WINAPI setFeature(HANDLE h, PVOID buffer, ULONG length) {
    if (length != 8) ++fake.wrongLengths;
    const FakeInterface* i = fake.at(h);
    return i && i->firmware &&
           i->firmware->setFeature({static_cast<const std::uint8_t*>(buffer), length});
}
BOOLEAN WINAPI getFeature(HANDLE h, PVOID buffer, ULONG length) {
    const FakeInterface* i = fake.at(h);
    return i && i->firmware &&
           i->firmware->getFeature({static_cast<std::uint8_t*>(buffer), length});
}

HidApi fakeApi() {
    HidApi api;
    api.HidD_GetHidGuid = getHidGuid;
    api.HidD_GetAttributes = getAttributes;
    api.HidD_GetPreparsedData = getPreparsed;
    api.HidD_FreePreparsedData = freePreparsed;
    api.HidP_GetCaps = getCaps;
    api.HidD_SetFeature = setFeature;
    api.HidD_GetFeature = getFeature;
    api.SetupDiGetClassDevsA = getClassDevs;
    api.SetupDiEnumDeviceInterfaces = enumInterfaces;
    api.SetupDiGetDeviceInterfaceDetailA = interfaceDetail;
    api.SetupDiDestroyDeviceInfoList = destroyList;
    api.CreateFileA = createFile;
    api.CloseHandle = closeHandle;
    return api;
}

struct WindowsHid : ::testing::Test {
    sim::MouseFirmware firmware{sim::presetConfig(sim::DeviceKind::Macro)};
    HidApi api = fakeApi();
    void SetUp() override {
        fake = Fake{};
        sim::programFactoryContents(firmware);
    }
    WindowsHidBackend backend() {
        return WindowsHidBackend([this]() -> const HidApi& { return api; });
    }
};

TEST_F(WindowsHid, ListsOpensAndTalksToTheMouseInEnumerationOrder) {
    sim::MouseFirmware second{sim::presetConfig(sim::DeviceKind::Macro)};
    sim::programFactoryContents(second);
    fake.interfaces = {{"\\\\?\\hid#keyboard", 0x046D, 0xC31C, 9},
                       {"\\\\?\\hid#mouse-a", 0x1209, 0x5158, 8, true, true, &firmware},
                       {"\\\\?\\hid#mouse-b", 0x1209, 0x5158, 8, true, true, &second}};
    {
        WindowsHidBackend hid = backend();
        EXPECT_EQ(hid.interfacePaths(),
                  (std::vector<std::string>{"\\\\?\\hid#keyboard", "\\\\?\\hid#mouse-a",
                                            "\\\\?\\hid#mouse-b"}));
        EXPECT_EQ(fake.askedClass, kOwnClass) << "the class HID.dll names";
        EXPECT_EQ(fake.askedFlags, static_cast<DWORD>(DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        HidTransport transport(hid);
        EXPECT_EQ(transport.CountHidDevices(), 3);
        ASSERT_TRUE(transport.OpenMouse(0x1209, 0x5158));
        EXPECT_EQ(transport.devicePath(), "\\\\?\\hid#mouse-b") << "the later match wins";
        std::array<std::uint8_t, 256> image{};
        ASSERT_TRUE(transport.ReadBlock(Access::Long, 0x6000, 256, image));
        EXPECT_TRUE(std::equal(image.begin(), image.end(), second.memory().begin() + 0x6000));
        EXPECT_EQ(second.counters().dataReportsOut, 37) << "the fetches went to that mouse";
    }
    EXPECT_EQ(fake.opens, fake.closes) << "every handle is closed";
    EXPECT_EQ(fake.lists, fake.destroyed) << "every list is destroyed";
    EXPECT_EQ(fake.wrongRecordSizes, 0);
    EXPECT_EQ(fake.wrongLengths, 0) << "every feature report is 8 bytes";
}

TEST_F(WindowsHid, WithoutHidDllTheStandardClassIsAsked) {
    api.HidD_GetHidGuid = nullptr;
    fake.interfaces = {{"\\\\?\\hid#mouse", 0x1209, 0x5158, 8, true, true, &firmware}};
    WindowsHidBackend hid = backend();
    EXPECT_EQ(hid.interfacePaths().size(), 1u);
    EXPECT_EQ(fake.askedClass, kHidInterfaceClass);
}

TEST_F(WindowsHid, InterfacesThatFailAreNeverTheMouse) {
    struct Case {
        const char* what;
        FakeInterface iface;
        std::function<void(HidApi&)> breakApi;
        int counted;
    };
    const std::vector<Case> cases{
        {"refuses to open", {"p", 0x1209, 0x5158, 8, false, true, &firmware}, {}, 0},
        {"no attributes", {"p", 0x1209, 0x5158, 8, true, false, &firmware}, {}, 1},
        {"another product", {"p", 0x1209, 0x5159, 8, true, true, &firmware}, {}, 1},
        {"feature reports of 16", {"p", 0x1209, 0x5158, 16, true, true, &firmware}, {}, 1},
        {"feature reports of 0", {"p", 0x1209, 0x5158, 0, true, true, &firmware}, {}, 1},
        {"no interface list",
         {"p", 0x1209, 0x5158, 8, true, true, &firmware},
         [](HidApi&) { fake.listFails = true; },
         0},
        {"no SetupApi.dll",
         {"p", 0x1209, 0x5158, 8, true, true, &firmware},
         [](HidApi& a) { a.SetupDiGetClassDevsA = nullptr; },
         0},
        {"no HID.dll",
         {"p", 0x1209, 0x5158, 8, true, true, &firmware},
         [](HidApi& a) {
             a.HidD_GetAttributes = nullptr;
             a.HidP_GetCaps = nullptr;
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake = Fake{};
        api = fakeApi();
        fake.interfaces = {c.iface};
        if (c.breakApi) c.breakApi(api);
        {
            WindowsHidBackend hid = backend();
            HidTransport transport(hid);
            EXPECT_EQ(transport.CountHidDevices(), c.counted);
            EXPECT_FALSE(transport.OpenMouse(0x1209, 0x5158));
            EXPECT_FALSE(transport.handlesValid());
            EXPECT_FALSE(transport.SendCommand(0x19, 0, 0, 0, 0));
        }
        EXPECT_EQ(fake.opens, fake.closes);
    }
}

TEST_F(WindowsHid, APathThatVanishesAfterTheListDoesNotOpen) {
    fake.interfaces = {{"\\\\?\\hid#mouse", 0x1209, 0x5158, 8, true, true, &firmware}};
    WindowsHidBackend hid = backend();
    const auto paths = hid.interfacePaths();
    fake.interfaces[0].opens = false;  // unplugged between the list and the open
    EXPECT_EQ(hid.open(paths.at(0)), kInvalidHandle);
    EXPECT_FALSE(hid.attributes(kInvalidHandle));
    EXPECT_FALSE(hid.featureReportLength(42));
    std::array<std::uint8_t, 8> report{0x41};
    EXPECT_FALSE(hid.getFeature(42, report));
}

}  // namespace
}  // namespace device
