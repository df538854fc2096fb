// The plugin object under a test configurator: lifecycle, capabilities, automation members.
#include <gtest/gtest.h>

#include <string>

#include "win/com_error.h"
#include "plugin/plugin.h"
#include "test_configurator.h"
#include "test_variants.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

struct PluginFixture : testing::Test {
    ComPtr<TTintmarkPlugin> plugin{new TTintmarkPlugin(), false};
    IConfigPluginHost* host() { return static_cast<IConfigPluginHost*>(plugin.get()); }
    IDispatch* disp() { return static_cast<ITintmarkPlugin*>(plugin.get()); }

    DISPID Id(const wchar_t* name) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(disp()->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << "no member";
        return id;
    }
    // Writes a property the way a script engine does.
    HRESULT Put(const wchar_t* name, VARIANT value) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS p{&value, &named, 1, 1};
        return disp()->Invoke(Id(name), IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr);
    }
    HRESULT Call(const wchar_t* name) {
        DISPPARAMS p{nullptr, nullptr, 0, 0};
        VARIANT r;
        VariantInit(&r);
        return disp()->Invoke(Id(name), IID_NULL, 0, DISPATCH_METHOD, &p, &r, nullptr, nullptr);
    }
};


std::wstring ThreadErrorText() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return L"";
    BSTR d = nullptr;
    info->GetDescription(&d);
    std::wstring s = d ? d : L"";
    SysFreeString(d);
    return s;
}

}  // namespace

TEST_F(PluginFixture, InitAnswersTintmarkSizesTablesAndConnectsDoneUndoesIt) {
    TestConfigurator cfg(true);
    const LONG refsBefore = cfg.refs();
    BSTR name = nullptr;
    ASSERT_EQ(host()->Init(cfg.get(), &name), S_OK);
    EXPECT_STREQ(name, L"Tintmark");
    SysFreeString(name);
    for (int len : {plugin->Analysis.KeyWordsMap.Capacity(), plugin->Analysis.MethMap.Capacity(), plugin->BookmarkLines.Capacity()})
        EXPECT_EQ(len, 128);
    EXPECT_EQ(plugin->Analysis.KeyWordsMap.Count() + plugin->Analysis.MethMap.Count() + plugin->BookmarkLines.Count(), 0);
    EXPECT_EQ(cfg.point().Connected(), 1);
    EXPECT_GT(plugin->LineHeight, 0);
    EXPECT_GT(plugin->CharWidth, 0);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 12);
    ASSERT_TRUE(plugin->MethodHeaderExpr && plugin->MethodEndExpr);
    EXPECT_TRUE(plugin->MethodHeaderExpr->IsCompiled());
    EXPECT_TRUE(plugin->MethodHeaderExpr->Exec("\xCF\xF0\xEE\xF6\xE5\xE4\xF3\xF0\xE0 A()"));  // «Процедура A()»

    ASSERT_EQ(host()->Done(), S_OK);
    EXPECT_EQ(plugin->Analysis.KeyWordsMap.Capacity() + plugin->Analysis.MethMap.Capacity() + plugin->BookmarkLines.Capacity(), 0);
    EXPECT_FALSE(plugin->MethodHeaderExpr || plugin->MethodEndExpr);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 0);
    EXPECT_EQ(cfg.point().Connected(), 0);
    EXPECT_EQ(cfg.point().unadvises, 1);
    EXPECT_EQ(cfg.refs(), refsBefore);
}

TEST_F(PluginFixture, InitFailsWithTheConnectionErrorWithoutConnectionPoint) {
    TestConfigurator cfg(false);
    BSTR name = nullptr;
    const HRESULT hr = host()->Init(cfg.get(), &name);
    EXPECT_EQ(hr, E_NOINTERFACE);
    EXPECT_EQ(name, nullptr);
    const std::wstring text = ThreadErrorText();
    EXPECT_EQ(text.rfind(L"Unable to connect ConfigEvents.\r", 0), 0u) << std::string(text.begin(), text.end());
    host()->Done();
}

TEST_F(PluginFixture, InitFailsWhenAdviseFails) {
    TestConfigurator cfg(true);
    cfg.point().failAdvise = CONNECT_E_ADVISELIMIT;
    BSTR name = nullptr;
    EXPECT_EQ(host()->Init(cfg.get(), &name), CONNECT_E_ADVISELIMIT);
    EXPECT_EQ(ThreadErrorText().rfind(L"Unable to connect ConfigEvents.\r", 0), 0u);
    host()->Done();
}

TEST_F(PluginFixture, TheConnectionErrorNamesTheSystemMessageOfTheFailure) {
    struct Row { bool offerEvents; HRESULT advise; HRESULT want; };
    for (const Row& r : {Row{false, S_OK, E_NOINTERFACE}, Row{true, CONNECT_E_ADVISELIMIT, CONNECT_E_ADVISELIMIT},
                         Row{true, E_ACCESSDENIED, E_ACCESSDENIED}}) {
        ComPtr<TTintmarkPlugin> fresh{new TTintmarkPlugin(), false};
        TestConfigurator cfg(r.offerEvents);
        cfg.point().failAdvise = r.advise;
        BSTR name = nullptr;
        EXPECT_EQ(static_cast<IConfigPluginHost*>(fresh.get())->Init(cfg.get(), &name), r.want);
        const std::wstring text = ThreadErrorText();
        EXPECT_EQ(text, L"Unable to connect ConfigEvents.\r" + HresultMessage(r.want))
            << std::string(text.begin(), text.end());
    }
}

TEST_F(PluginFixture, ErrorObjectsAreAnnouncedForBothInterfaces) {
    for (IUnknown* from : {static_cast<IUnknown*>(disp()), static_cast<IUnknown*>(host())}) {
        ComPtr<ISupportErrorInfo> support;
        ASSERT_EQ(from->QueryInterface(IID_ISupportErrorInfo, support.put_void()), S_OK);
        ComPtr<IUnknown> a, b;
        support->QueryInterface(IID_IUnknown, a.put_void());
        from->QueryInterface(IID_IUnknown, b.put_void());
        EXPECT_EQ(a.get(), b.get());  // one object
        struct Row { const IID* iid; HRESULT want; };
        for (const Row& r : {Row{&IID_ITintmarkPlugin, S_OK}, Row{&IID_IDispatch, S_OK},
                             Row{&IID_IConfigPluginHost, S_OK}, Row{&IID_IUnknown, S_FALSE},
                             Row{&IID_IClassFactory, S_FALSE}})
            EXPECT_EQ(support->InterfaceSupportsErrorInfo(*r.iid), r.want);
    }
}

TEST_F(PluginFixture, NullPointersAreRefused) {
    TestConfigurator cfg(true);
    BSTR name = nullptr;
    EXPECT_EQ(host()->Init(cfg.get(), nullptr), E_POINTER);
    EXPECT_EQ(host()->Init(nullptr, &name), E_POINTER);
    EXPECT_EQ(host()->GetPluginCaps(0, nullptr), E_POINTER);
    VARIANT param;
    VariantInit(&param);
    EXPECT_EQ(host()->ExecCommand(1, param, nullptr), E_POINTER);
    EXPECT_EQ(plugin->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(cfg.point().advises, 0);
}

TEST_F(PluginFixture, PluginCapsAndExecCommand) {
    struct Row { LONG cap; VARTYPE vt; };
    for (const Row r : {Row{0, VT_I4}, Row{1, VT_I4}, Row{2, VT_EMPTY}, Row{-1, VT_EMPTY}}) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;  // garbage in: the answer replaces it
        EXPECT_EQ(host()->GetPluginCaps(r.cap, &v), S_OK);
        EXPECT_EQ(v.vt, r.vt) << r.cap;
        if (v.vt == VT_I4) {
            EXPECT_EQ(v.lVal, 0);
        }
    }
    VARIANT param = I4(5), result = I4(9);
    EXPECT_EQ(host()->ExecCommand(3, param, &result), S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST_F(PluginFixture, PropertyPutsStoreWithFallbacksAfterInit) {
    TestConfigurator cfg(true);
    BSTR name = nullptr;
    ASSERT_EQ(host()->Init(cfg.get(), &name), S_OK);
    SysFreeString(name);
    plugin->Config.BackgroundColor = 0xFFFFFF;  // what the registry would have given
    plugin->Config.KeywordColor = 0x0000FF;
    plugin->Config.DefaultBookMarkColor = 0xFF0000;

    EXPECT_EQ(Put(L"GutterColor", I4(0)), S_OK);
    EXPECT_EQ(Put(L"CrossLinesColor", I4(0)), S_OK);
    EXPECT_EQ(Put(L"BookMarkColor", I4(0)), S_OK);
    EXPECT_EQ(Put(L"OpenBracketFontColor", I4(0)), S_OK);
    EXPECT_EQ(Put(L"CloseBracketBgColor", I4(0x00C0FFFF)), S_OK);
    EXPECT_EQ(plugin->Look.GutterColor, 0xFFFFFF);
    EXPECT_EQ(plugin->Look.CrossLinesColor, 0);
    EXPECT_EQ(plugin->Look.BookMarkColor, 0xFF0000);
    EXPECT_EQ(plugin->Look.OpenBracketFontColor, 0x0000FF);
    EXPECT_EQ(plugin->Look.CloseBracketBgColor, 0x00C0FFFF);

    EXPECT_EQ(Put(L"HighlightModeAlways", Bool(true)), S_OK);
    EXPECT_EQ(Put(L"DisableAutoHighlight", Bool(true)), S_OK);
    EXPECT_FALSE(plugin->Look.HighlightModeAlways);
    EXPECT_EQ(Call(L"ShowPairBracket"), S_OK);
    EXPECT_TRUE(plugin->Look.DisableAutoHighlight);
    EXPECT_EQ(Put(L"EnableVertCrossLine", I4(7)), S_OK);  // any non-zero is true
    EXPECT_TRUE(plugin->Look.EnableVertCrossLine);

    // The switches beyond pairs: off after Init, and the keyword table knows the words they
    // ask for (middle words for either the middle highlight or the mismatch marks).
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 12);
    EXPECT_EQ(Put(L"MismatchColor", I4(0)), S_OK);  // 0 stays 0: no marks
    EXPECT_EQ(plugin->Look.MismatchColor, 0);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 12);
    EXPECT_EQ(Put(L"MismatchColor", I4(0x0000E6)), S_OK);
    EXPECT_EQ(plugin->Look.MismatchColor, 0x0000E6);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 15);
    EXPECT_EQ(Put(L"EnglishKeywords", Bool(true)), S_OK);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 30);
    EXPECT_EQ(Put(L"MismatchColor", I4(0)), S_OK);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 24);
    EXPECT_EQ(Put(L"HighlightMiddle", Bool(true)), S_OK);
    EXPECT_TRUE(plugin->PairingSettings().HighlightMiddle);
    EXPECT_EQ(plugin->Analysis.Keywords.KeyWordCount, 30);
    host()->Done();
}

TEST_F(PluginFixture, EveryMemberWorksBeforeInitAndWrongTypesAreMismatches) {
    for (const wchar_t* c : {L"ExpandAll", L"CollapseAll", L"JumpToPairBracket", L"SelectPairBlock",
                             L"SelectInnerBlock", L"ShowPairBracket"})
        EXPECT_EQ(Call(c), S_OK) << c;
    EXPECT_EQ(Put(L"GutterColor", I4(0x123456)), S_OK);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"not a colour");
    EXPECT_EQ(Put(L"GutterColor", text), DISP_E_TYPEMISMATCH);
    VariantClear(&text);
    EXPECT_EQ(plugin->Look.GutterColor, 0x123456);

    // Members without a getter cannot be read; the form's standard properties can.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT r;
    VariantInit(&r);
    EXPECT_NE(disp()->Invoke(Id(L"GutterColor"), IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &r, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(disp()->Invoke(Id(L"Visible"), IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &r, nullptr, nullptr), S_OK);
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_TRUE);
}

TEST_F(PluginFixture, DispatchIdsFollowTheTypeLibrary) {
    struct Row { const wchar_t* name; DISPID id; };
    const Row rows[] = {{L"Visible", 201}, {L"Caption", -518}, {L"Color", -501}, {L"Font", -512},
                        {L"VisibleDockClientCount", 216}, {L"Enabled", -514}, {L"ExpandAll", 217},
                        {L"OpenBracketUnderLineColor", 221}, {L"CloseBracketFontBold", 234},
                        {L"SelectInnerBlock", 235}, {L"ShowPairBracket", 238}, {L"EnableVertCrossLine", 241},
                        {L"HighlightMiddle", 242}, {L"MismatchColor", 243}, {L"EnglishKeywords", 244},
                        {L"CheckBlocks", 245}};
    for (const auto& r : rows) EXPECT_EQ(Id(r.name), r.id);
}

TEST_F(PluginFixture, VtableSlotsFollowTheLayout) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(disp()->GetTypeInfo(0, 0, info.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    const int funcs = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    int first = 1000, last = 0;
    for (int i = 0; i < funcs; ++i) {
        FUNCDESC* fd = nullptr;
        ASSERT_EQ(info->GetFuncDesc(static_cast<UINT>(i), &fd), S_OK);
        const int slot = fd->oVft / static_cast<int>(sizeof(void*));
        if (fd->memid == 201 && fd->invkind == INVOKE_PROPERTYGET) first = slot;
        if (fd->memid == -514 && fd->invkind == INVOKE_PROPERTYPUT) {
            EXPECT_EQ(slot, 44);
        }
        if (fd->memid == 217) {
            EXPECT_EQ(slot, 45);
        }
        if (fd->memid == 233) {
            EXPECT_EQ(slot, 61);
        }
        if (fd->memid == 241) {
            EXPECT_EQ(slot, 69);
        }
        if (fd->memid == 242) {
            EXPECT_EQ(slot, 70);
        }
        if (slot > last) last = slot;
        info->ReleaseFuncDesc(fd);
    }
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, 73);  // CheckBlocks, the last of the members added in version 1.1
}

// Property browsers recognise colours by the OLE_COLOR of the automation library (stdole):
// every colour argument refers to that type, and the font to its IFontDisp.
TEST_F(PluginFixture, ColourAndFontArgumentsReferToTheAutomationLibrary) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(disp()->GetTypeInfo(0, 0, info.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    const int funcs = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    int colours = 0, fonts = 0;
    for (int i = 0; i < funcs; ++i) {
        FUNCDESC* fd = nullptr;
        ASSERT_EQ(info->GetFuncDesc(static_cast<UINT>(i), &fd), S_OK);
        const bool colour = fd->memid == -501 || (fd->memid >= 221 && fd->memid <= 232) || fd->memid == 239;
        const bool font = fd->memid == -512;
        if (colour || font) {
            // The dispatch view gives a getter's value as the function's result.
            const TYPEDESC* td = fd->cParams == 1 ? &fd->lprgelemdescParam[0].tdesc : &fd->elemdescFunc.tdesc;
            while (td->vt == VT_PTR) td = td->lptdesc;
            ASSERT_EQ(td->vt, VT_USERDEFINED) << fd->memid;
            ComPtr<ITypeInfo> ref;
            ASSERT_EQ(info->GetRefTypeInfo(td->hreftype, ref.put()), S_OK);
            BSTR name = nullptr;
            ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
            ComPtr<ITypeLib> lib;
            UINT index = 0;
            ASSERT_EQ(ref->GetContainingTypeLib(lib.put(), &index), S_OK);
            BSTR libName = nullptr;
            lib->GetDocumentation(-1, &libName, nullptr, nullptr, nullptr);
            EXPECT_STREQ(libName, L"stdole") << fd->memid;
            EXPECT_STREQ(name, colour ? L"OLE_COLOR" : L"IFontDisp") << fd->memid;
            if (colour) {
                TYPEATTR* refAttr = nullptr;
                ASSERT_EQ(ref->GetTypeAttr(&refAttr), S_OK);
                wchar_t guid[40];
                StringFromGUID2(refAttr->guid, guid, 40);
                EXPECT_STREQ(guid, L"{66504301-BE0F-101A-8BBB-00AA00300CAB}");
                ref->ReleaseTypeAttr(refAttr);
                ++colours;
            } else {
                ++fonts;
            }
            SysFreeString(name);
            SysFreeString(libName);
        }
        info->ReleaseFuncDesc(fd);
    }
    EXPECT_EQ(colours, 2 + 12 + 1);  // Color get/put, twelve colour puts, CrossLinesColor
    EXPECT_EQ(fonts, 3);
}
