// The composition path through the real box code, with a stand-in composition device and swap chains
// over real Direct3D textures: creation, resizing, the title move and the loss of the device.
#include <algorithm>
#include <functional>

#include "app/startup_win.h"
#include "app/watch_win.h"
#include "base/process_win.h"
#include "boxes/box_menu_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "render/background_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "ui/menus.h"
#include "win/composition_path_fakes.h"
#include "win/interaction_env.h"
#include "win/render_test_util.h"

#include <gdiplus.h>

namespace {

class CompositionPath : public InteractionWorld {
  protected:
    void SetUp() override {
        InteractionWorld::SetUp();
        fake::Reset();
        FlushIconBitmaps();
        ReleaseCompositionDevices();
        systemDevice_ = std::exchange(g_makeCompositionDevice, fake::MakeDevice);
        systemChain_ = std::exchange(g_makeBoxSwapChain, fake::MakeSwapChain);
        systemRemoval_ = std::exchange(g_deviceRemoval, fake::Removal());
        ASSERT_TRUE(InitDCompInfra());
    }
    void TearDown() override {
        InteractionWorld::TearDown();
        FlushIconBitmaps();
        ForgetBackgroundBitmaps();
        ReleaseCompositionDevices();
        g_makeCompositionDevice = systemDevice_;
        g_makeBoxSwapChain = systemChain_;
        g_deviceRemoval = systemRemoval_;
        EXPECT_EQ(fake::Seen().liveObjects, 0) << "every fake object is released";
    }
    BoxWin* MakeBox(const std::wstring& key, int x) {
        BoxWin* box = Make(key, {DeskItem(g_desktop, key + L".txt")}, x, 100);
        EXPECT_FALSE(box->fallback) << "the box composes";
        return box;
    }
    static void Pump() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
    static SIZE Client(BoxWin* box) {
        RECT rc = {};
        GetClientRect(box->hwnd, &rc);
        return {rc.right, rc.bottom};
    }
    static SIZE Buffers(BoxWin* box) {
        DXGI_SWAP_CHAIN_DESC1 d = {};
        box->swapChain->GetDesc1(&d);
        return {static_cast<LONG>(d.Width), static_cast<LONG>(d.Height)};
    }
    // The presented picture carries the box: its blue title bar over a body that is not transparent.
    static void ExpectShown(BoxWin* box) {
        const fake::Shown s = fake::LastPresented(box->swapChain);
        ASSERT_EQ(s.w, box->width);
        ASSERT_EQ(s.h, box->height);
        const uint32_t bar = s.At(s.w / 2, 10), body = s.At(5, s.h - 3);
        EXPECT_GT(bar & 0xFF, ((bar >> 16) & 0xFF) + 40) << std::hex << bar;
        EXPECT_NE(body >> 24, 0u) << std::hex << body;
    }
    // The main loop with no input: it waits and draws what is marked, until nothing is; false when a
    // wait ended only by a guard's time-out of 10 s.
    static bool Idle() {
        const UINT_PTR guard = SetTimer(nullptr, 0, 10000, nullptr);
        MSG m = {};
        do {
            WaitForMessagesOrChanges();
            while (m.message != WM_TIMER && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            DrawMarkedBoxes();
        } while (AnyBoxMarked() && m.message != WM_TIMER);
        KillTimer(nullptr, guard);
        return m.message != WM_TIMER;
    }
    MakeCompositionDeviceFn systemDevice_ = nullptr;
    MakeBoxSwapChainFn systemChain_ = nullptr;
    DeviceRemovalFns systemRemoval_ = {};
};

TEST_F(CompositionPath, CreationWiresAndPresentsEachBox) {
    BoxWin* box = MakeBox(L"文档", 100);
    const std::vector<std::string> order = {"MakeDevice",  "MakeSwapChain", "CreateTargetForHwnd(topmost)",
                                            "CreateVisual", "SetContent",    "SetRoot", "Commit"};
    EXPECT_EQ(fake::Seen().calls, order);
    ASSERT_EQ(fake::Seen().chainsAsked.size(), 1u);
    const DXGI_SWAP_CHAIN_DESC1 d = fake::Seen().chainsAsked[0];
    EXPECT_EQ(std::vector<int>({int(d.Width), int(d.Height), int(d.Format), d.Stereo, int(d.SampleDesc.Count),
                                int(d.BufferUsage), int(d.BufferCount), int(d.Scaling), int(d.SwapEffect), int(d.AlphaMode),
                                int(d.Flags)}),
              std::vector<int>({box->width, box->height, DXGI_FORMAT_B8G8R8A8_UNORM, 0, 1,
                                DXGI_USAGE_RENDER_TARGET_OUTPUT, 2, DXGI_SCALING_STRETCH,
                                DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL, DXGI_ALPHA_MODE_PREMULTIPLIED, 0}));
    EXPECT_TRUE(GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & WS_EX_NOREDIRECTIONBITMAP) << "nothing unpainted under it";
    EXPECT_EQ(fake::TargetOf(box->hwnd), box->dcTarget);
    EXPECT_EQ(fake::RootOf(box->dcTarget), box->dcVisual);
    EXPECT_EQ(fake::ContentOf(box->dcVisual), box->swapChain);
    EXPECT_EQ(fake::PresentsOf(box->swapChain), 1);
    ExpectShown(box);

    // Where the sequential flip model is refused, the discarding one still composes the box.
    fake::Seen().refuseFlipSequential = true;
    BoxWin* other = MakeBox(L"图片", 500);
    const auto& asked = fake::Seen().chainsAsked;
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[1].SwapEffect, DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL);
    EXPECT_EQ(asked[2].SwapEffect, DXGI_SWAP_EFFECT_FLIP_DISCARD);
    ASSERT_TRUE(other->swapChain);
    ExpectShown(other);
    // A box that cannot compose is drawn into a bitmap, by a window that has a surface for it.
    g_makeBoxSwapChain = [](ID3D11Device*, const DXGI_SWAP_CHAIN_DESC1&, IDXGISwapChain1**) -> HRESULT { return E_FAIL; };
    BoxWin* plain = Make(L"其他", {}, 900, 100);
    ASSERT_TRUE(plain->fallback);
    EXPECT_FALSE(GetWindowLongPtrW(plain->hwnd, GWL_EXSTYLE) & WS_EX_NOREDIRECTIONBITMAP);
}

TEST_F(CompositionPath, ResizesKeepBuffersAtTheClientSizeAndPresentEachTime) {
    BoxWin* box = MakeBox(L"文档", 100);
    const TrackBoxMenuFn systemMenu = std::exchange(g_trackBoxMenu, [](HMENU, int, int, HWND) -> UINT {
        return kBoxCmdCollapse;
    });
    const RECT r0 = [&] { RECT r; GetWindowRect(box->hwnd, &r); return r; }();
    const POINT corner = {r0.right - 2, r0.bottom - 2};
    struct Step {
        const char* what;
        std::function<void()> act;
        bool resizes;     // buffers are resized by it
        int failures = 0; // ResizeBuffers answers E_FAIL this many times
    };
    const Step steps[] = {
        {"press on the corner", [&] { At(box, WM_LBUTTONDOWN, corner.x, corner.y); }, false},
        {"drag 30 right", [&] { At(box, WM_MOUSEMOVE, corner.x + 30, corner.y); }, true},
        {"drag 30 down", [&] { At(box, WM_MOUSEMOVE, corner.x + 30, corner.y + 30); }, true},
        {"release where the last move was", [&] { At(box, WM_LBUTTONUP, corner.x + 30, corner.y + 30); }, false},
        {"collapse", [&] { At(box, WM_RBUTTONUP, r0.left + 40, r0.top + 10); }, true},
        {"expand", [&] { At(box, WM_RBUTTONUP, r0.left + 40, r0.top + 10); }, true},
        {"press again", [&] { At(box, WM_LBUTTONDOWN, corner.x + 30, r0.top + 358); }, false},
        {"drag with the buffers refused",
         [&] { At(box, WM_MOUSEMOVE, corner.x + 10, r0.top + 358); }, true, 1},
        {"release, refused again", [&] { At(box, WM_LBUTTONUP, corner.x + 10, r0.top + 358); }, true, 1},
    };
    for (const Step& s : steps) {
        const int resizes = fake::Seen().resizes, presents = fake::PresentsOf(box->swapChain);
        fake::Seen().resizeFailure = E_FAIL;
        fake::Seen().failResizes = s.failures;
        s.act();
        DrawMarkedBoxes();
        EXPECT_EQ(fake::Seen().invalidCalls, 0) << s.what;
        EXPECT_EQ(fake::Seen().resizes - resizes, s.resizes && !s.failures ? 1 : 0) << s.what;
        const SIZE buffers = Buffers(box);
        EXPECT_EQ(std::make_pair(box->width, box->height), std::make_pair(int(buffers.cx), int(buffers.cy)))
            << s.what << ": the box has its buffers' size";
        if (!s.failures) {
            EXPECT_EQ(std::make_pair(buffers.cx, buffers.cy), std::make_pair(Client(box).cx, Client(box).cy))
                << s.what;
        }
        if (s.resizes) {
            EXPECT_GE(fake::PresentsOf(box->swapChain) - presents, 1) << s.what << ": presented";
        }
    }
    g_trackBoxMenu = systemMenu;
    EXPECT_EQ(box->height, 360) << "expanded to 360 whatever the height before";
    ExpectShown(box);
}

TEST_F(CompositionPath, ATitleMovePresentsAgainAfterTheReattach) {
    RegisterTestClass(L"Progman", DefWindowProcW);
    HWND progman = CreateWindowExW(0, L"Progman", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, g_hInst, nullptr);
    BoxWin* box = MakeBox(L"文档", 100);
    ASSERT_TRUE(GetWindowLongPtrW(box->hwnd, GWL_STYLE) & WS_CHILD) << "attached to the desktop layer";
    const MoveLoopFn systemLoop = std::exchange(g_runMoveLoop, [](HWND hwnd) {
        const Rect r = WindowRect(hwnd);
        SetWindowPos(hwnd, nullptr, r.left + 200, r.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    const int presents = fake::PresentsOf(box->swapChain);
    At(box, WM_LBUTTONDOWN, 200, 115);
    g_runMoveLoop = systemLoop;
    ASSERT_TRUE(GetWindowLongPtrW(box->hwnd, GWL_STYLE) & WS_CHILD) << "re-attached";
    DrawMarkedBoxes(); // what the main loop does next, before any other message
    EXPECT_EQ(fake::PresentsOf(box->swapChain), presents + 1);
    EXPECT_EQ(fake::TargetOf(box->hwnd), box->dcTarget);
    EXPECT_EQ(fake::Seen().alreadyComposed, 0);
    DestroyAllBoxes();
    DestroyWindow(progman);
}

TEST_F(CompositionPath, APaintOrAFailedPresentShowsThePictureAgain) {
    BoxWin* box = MakeBox(L"文档", 100);
    const struct {
        const char* what;
        HRESULT present;
        int presents; // Present calls the paint brings
        int failures = 1;
    } cases[] = {{"paint", S_OK, 1}, {"paint, the present fails once", E_FAIL, 2},
                 {"paint, five presents fail: drawn again without input", E_FAIL, 6, 5}};
    for (const auto& c : cases) {
        Pump(); // only the wait's own time-out may wake it
        const int before = fake::PresentsOf(box->swapChain);
        fake::Seen().nextPresent = c.present;
        fake::Seen().repeatPresent = c.failures - 1;
        RedrawWindow(box->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        DrawMarkedBoxes();
        EXPECT_TRUE(c.failures < 3 || Idle()) << c.what;
        EXPECT_EQ(fake::PresentsOf(box->swapChain) - before, c.presents) << c.what;
    }
    ExpectShown(box);
}

TEST_F(CompositionPath, ALostDeviceIsRebuiltAndEveryBoxPresentedWithoutInput) {
    ULONG_PTR gdiplus = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr), Gdiplus::Ok);
    BoxSurface pic;
    ASSERT_TRUE(MakeSurfaceBitmap(&pic, 40, 30));
    g_bgImage = dir_ + L"\\bg.bmp";
    ASSERT_TRUE(SaveSurfaceBmp(pic, g_bgImage));
    FreeSurface(&pic);

    std::vector<BoxWin*> boxes = {MakeBox(L"文档", 100), MakeBox(L"图片", 500)};
    const struct {
        const char* what;
        std::function<void(BoxWin*)> lose;
        bool deviceKept; // the composition device reports itself valid
        int boxesMade = 0;
    } routes[] = {
        {"Present", [](BoxWin* b) {
             fake::Seen().nextPresent = DXGI_ERROR_DEVICE_REMOVED;
             RedrawWindow(b->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
         }, true},
        {"ResizeBuffers", [](BoxWin* b) {
             fake::Seen().resizeFailure = DXGI_ERROR_DEVICE_REMOVED;
             fake::Seen().failResizes = 1;
             ResizeBoxRender(b, b->width + 20, b->height);
         }, true},
        {"paint", [](BoxWin* b) {
             fake::Seen().deviceValid = false;
             RedrawWindow(b->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
         }, false},
        {"display change", [](BoxWin*) {
             fake::Seen().deviceValid = false;
             MainProc(g_hMainWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(1600, 900));
         }, false},
        {"removal while idle", [](BoxWin* b) {
             fake::RemoveDevice(b->swapChain);
             EXPECT_TRUE(Idle()) << "the removal wakes the main loop";
         }, true},
        {"a box made on the removed device", [&](BoxWin* b) {
             fake::RemoveDevice(b->swapChain);
             boxes.push_back(MakeBox(L"压缩包", 900));
         }, true, 1},
    };
    for (const auto& r : routes) {
        Pump(); // no paint left to notice the loss
        DrawMarkedBoxes();
        ID2D1Device* oldDevice = g_d2dDev;
        oldDevice->AddRef();
        const int devices = fake::Seen().devicesMade, targets = fake::Seen().targetsMade;
        const int live = fake::Seen().liveObjects;
        r.lose(boxes[0]);
        DrawMarkedBoxes(); // the main loop's draw, with no input in between
        EXPECT_EQ(oldDevice->Release(), 0u) << r.what << ": everything made on the old device is gone";
        EXPECT_EQ(fake::Seen().devicesMade - devices, r.deviceKept ? 0 : 1) << r.what;
        EXPECT_EQ(fake::Seen().liveObjects, live + 3 * r.boxesMade) << r.what << ": every old fake object released";
        EXPECT_EQ(fake::Seen().alreadyComposed, 0) << r.what;
        EXPECT_EQ(fake::Seen().targetsMade - targets, (r.deviceKept ? 0 : 2) + r.boxesMade)
            << r.what << ": targets kept or made anew";
        for (BoxWin* b : boxes) {
            ASSERT_FALSE(b->fallback) << r.what;
            EXPECT_EQ(fake::ContentOf(b->dcVisual), b->swapChain) << r.what;
            EXPECT_EQ(fake::PresentsOf(b->swapChain), 1) << r.what << ": presented again";
            ExpectShown(b);
        }
    }
    DestroyAllBoxes();
    g_bgImage.clear();
    ForgetBgImage();
    Gdiplus::GdiplusShutdown(gdiplus);
}

TEST_F(CompositionPath, AHoverChangePresentsItsCellsOnceEachBufferWasDrawnWhole) {
    std::vector<Item> items;
    for (int i = 0; i < 8; ++i) items.push_back(DeskItem(g_desktop, L"f" + std::to_wstring(i) + L".txt"));
    BoxWin* box = Make(L"文档", items, 100, 100);
    // The second buffer is drawn whole first; then the back buffer holds the hover of two changes ago.
    const struct { int hover, partial; } steps[] = {{1, 0}, {2, 1}, {-1, 1}, {3, 1}, {4, 1}};
    for (const auto& st : steps) {
        const int partial = fake::Seen().partialPresents, presents = fake::PresentsOf(box->swapChain);
        box->hoverIdx = st.hover;
        MarkBoxDirty(box);
        DrawMarkedBoxes();
        EXPECT_EQ(fake::PresentsOf(box->swapChain) - presents, 1) << st.hover;
        EXPECT_EQ(fake::Seen().partialPresents - partial, st.partial) << st.hover;
        const std::vector<uint32_t> px = fake::LastPresented(box->swapChain).pixels;
        EXPECT_EQ(std::count(px.begin(), px.end(), 0xFFFF00FFu), 0) << st.hover << ": undefined pixels shown";
    }
    EXPECT_EQ(fake::Seen().changedOutsideDirty, 0) << "every pixel that changed lies in a dirty rectangle";
    EXPECT_EQ(fake::Seen().invalidCalls, 0);
    const std::vector<uint32_t> part = fake::LastPresented(box->swapChain).pixels;
    ShowPictureAgain(box);
    DrawMarkedBoxes();
    EXPECT_TRUE(part == fake::LastPresented(box->swapChain).pixels) << "the cells drawn give the whole picture";
}

} // namespace
