#include <gtest/gtest.h>

#include "classlib/core/text.h"
#include "engine/manufacturer.h"
#include "engine/wmi.h"
#include "tests/platform/scoped_drives.h"

namespace {

// A property value as WMI hands it over: a number in a variant of type `vt`,
// or a text for VT_BSTR.
std::string TextOf(CIMTYPE type, VARTYPE vt, double number, const wchar_t* text = nullptr) {
    VARIANT value;
    VariantInit(&value);
    value.vt = vt;
    switch (vt) {
        case VT_BSTR:
            value.bstrVal = SysAllocString(text);
            break;
        case VT_R8:
            value.dblVal = number;
            break;
        case VT_BOOL:
            value.boolVal = number ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VT_UI1:
            value.bVal = static_cast<BYTE>(number);
            break;
        case VT_I2:
            value.iVal = static_cast<SHORT>(number);
            break;
        default:
            value.lVal = static_cast<LONG>(number);
            break;
    }
    std::string result = "unchanged";
    WmiValueToText(value, type, result);
    VariantClear(&value);
    return result;
}

}  // namespace

TEST(Wmi, ModelQueryNamesTheEscapedDevice) {
    EXPECT_EQ(DriveModelQuery(3),
              L"SELECT Model FROM Win32_DiskDrive WHERE Name = \"\\\\\\\\.\\\\PHYSICALDRIVE3\"");
}

TEST(Wmi, SimulatedQueryAnswersByCount) {
    TScopedDrives drives(R"(
[drive 0]
wmi model = ST3500418AS
[drive 1]
wmi model = WDC WD10EADS-00L5B1
wmi count = 2
[drive 2]
wmi model = Maxtor 6Y080L0
wmi count = -1
[drive 3]
model = HDS721050CLA362
)");
    const struct {
        int Drive;
        int Count;
        const char* Model;
    } cases[] = {{0, 1, "ST3500418AS"}, {1, 2, ""}, {2, -1, ""}, {3, 0, ""}, {4, 0, ""}, {23, 0, ""}};
    for (const auto& c : cases) {
        std::string value = "kept";
        EXPECT_EQ(WmiQueryProperty(DriveModelQuery(c.Drive), L"Model", value), c.Count) << c.Drive;
        EXPECT_EQ(value, c.Count == 1 ? c.Model : "kept") << c.Drive;
        std::string model = "stale";
        GetDriveModelWmi(c.Drive, model);
        EXPECT_EQ(model, c.Model) << c.Drive;
    }
    std::string value;
    EXPECT_EQ(WmiQueryProperty(L"SELECT Model FROM Win32_DiskDrive", L"Model", value), -1);
    EXPECT_EQ(WmiQueryProperty(DriveModelQuery(0), L"Name", value), -1);
}

TEST(Wmi, ValueTextByCimType) {
    const struct {
        CIMTYPE Type;
        VARTYPE Vt;
        double Number;
        const wchar_t* Text;
        std::string Expected;
    } cases[] = {
        {CIM_STRING, VT_NULL, 0, nullptr, "NULL"},
        {CIM_SINT32, VT_I4, -42, nullptr, "-42"},
        {CIM_UINT32, VT_I4, -1, nullptr, "4294967295"},  // unsigned values come in signed variants
        {CIM_UINT8, VT_UI1, 200, nullptr, "200"},
        {CIM_SINT16, VT_I2, -300, nullptr, "-300"},
        {CIM_SINT64, VT_BSTR, 0, L"-9000000000", "-9000000000"},
        {CIM_REAL64, VT_R8, 2.5, nullptr, FloatToStr(2.5)},
        {CIM_STRING, VT_BSTR, 0, L"ST3500418AS", "ST3500418AS"},
        {CIM_UINT64, VT_BSTR, 0, L"500107862016", "500107862016"},
        {CIM_BOOLEAN, VT_BOOL, 1, nullptr, "True"},
        {CIM_BOOLEAN, VT_BOOL, 0, nullptr, "False"},
        {CIM_OBJECT, VT_I4, 0, nullptr, "<CIM Object>"},
        {CIM_CHAR16, VT_I2, 65, nullptr, "<16-bit character>"},
        {CIM_EMPTY, VT_I4, 0, nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextOf(c.Type, c.Vt, c.Number, c.Text), c.Expected) << "CIM type " << c.Type;

    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_I4;
    array.parray = SafeArrayCreateVector(VT_I4, 0, 3);
    const LONG elements[] = {3, 4, 10};
    for (LONG i = 0; i < 3; ++i) SafeArrayPutElement(array.parray, &i, const_cast<LONG*>(&elements[i]));
    std::string text;
    WmiValueToText(array, CIM_UINT16 | CIM_FLAG_ARRAY, text);
    EXPECT_EQ(text, "3|4|10");
    VariantClear(&array);
}

TEST(Manufacturer, FirstMatchingPrefixNamesTheMaker) {
    const struct {
        const char* Model;
        const char* Maker;
    } cases[] = {
        {"ST3500418AS", "Seagate Technology"},
        {"IC35L120AVV207-0", "IBM"},
        {"HDC-1000", "HITACHI"},
        {"WDC WD10EADS-00L5B1", "Western Digital "},
        {"FUJITSU MHV2080AH", "FUJITSU"},
        {"FUJIT", ""},
        {"HDS721050CLA362", ""},
        {"st3500418as", ""},
        {"S", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetManufacturer(c.Model), c.Maker) << c.Model;
}

TEST(ControlCode, BuildsTheGeometryCodes) {
    static_assert(CtlCode(7, 0x28, 0, 0) == 0x000700A0);
    static_assert(CtlCode(7, 0, 0, 0) == 0x00070000);
    EXPECT_EQ(CtlCode(7, 0x20, 0, 1), 0x00074080u);  // the S.M.A.R.T. version query
    EXPECT_EQ(CtlCode(7, 0x22, 0, 3), 0x0007C088u);
}
