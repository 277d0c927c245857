// Stand-ins for the composition device and a box's composition swap chain, which Wine lacks. They
// keep the rules the platform documents for what the program calls: a visual's content and a
// target's root change at the device's Commit, a removed device fails for good, one target per
// window until the old one is gone, no target for another process's window, no buffer resize while a back buffer is
// referenced or to a zero size, dirty rectangles only within the buffers of a chain that keeps their
// pixels. The swap chain draws into a real Direct3D 11 texture that flips through its buffers' pixels
// (undefined until a buffer is presented), and what each Present showed can be read back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/win.h"
#include "render/devices_win.h"

#include <d3d11.h>
#include <dcomp.h>
#include <dxgi1_2.h>

#ifndef DCOMPOSITION_ERROR_WINDOW_ALREADY_COMPOSED
#define DCOMPOSITION_ERROR_WINDOW_ALREADY_COMPOSED static_cast<HRESULT>(0x88980800L)
#endif

namespace fake {

// What the fakes saw since Reset(): one shared record for every fake object.
struct Record {
    int liveObjects = 0;      // fake objects not yet released
    int devicesMade = 0;
    int targetsMade = 0;
    int alreadyComposed = 0;  // CreateTargetForHwnd answered WINDOW_ALREADY_COMPOSED
    int commits = 0;
    int setContents = 0;
    int invalidCalls = 0;     // ResizeBuffers answered DXGI_ERROR_INVALID_CALL
    int resizes = 0;          // ResizeBuffers that ran
    int presents = 0;         // Present calls (whatever they answered)
    int partialPresents = 0;  // Present1 calls with dirty rectangles that were accepted
    int changedOutsideDirty = 0; // of those, presents that changed a pixel outside their rectangles
    std::vector<DXGI_SWAP_CHAIN_DESC1> chainsAsked; // every creation asked for, in order
    std::vector<std::string> calls;                 // creation and wiring calls, in order

    // Scripts: the composition device's state (a new device is valid), swap effects refused at creation, the next answers
    // of Present and ResizeBuffers (S_OK: behave normally).
    bool deviceValid = true;
    bool refuseFlipSequential = false;
    HRESULT nextPresent = S_OK;
    int repeatPresent = 0; // further presents that answer nextPresent too
    HANDLE removalEvent = nullptr; // the event the program asked to be set at the device's removal
    HRESULT resizeFailure = S_OK; // answer of the next `failResizes` ResizeBuffers
    int failResizes = 0;
};
Record& Seen();
void Reset();

// The seams' fakes.
HRESULT MakeDevice(IDCompositionDevice** out);
HRESULT MakeSwapChain(ID3D11Device* device, const DXGI_SWAP_CHAIN_DESC1& desc, IDXGISwapChain1** out);
// The removal seam: a removal event that is kept, and a removed device's reason.
DeviceRemovalFns Removal();
// A driver reset: the (real) Direct3D device a fake chain was made on is removed for good. Every later call of a fake swap chain
// made on it and every creation on it answers DXGI_ERROR_DEVICE_REMOVED, and the event is set.
void RemoveDevice(IDXGISwapChain1* chain);

// A fake swap chain's last presented picture (premultiplied BGRA, top-down); empty before any.
struct Shown {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
};
Shown LastPresented(IDXGISwapChain1* chain);
int PresentsOf(IDXGISwapChain1* chain);
// The content a fake visual shows, and the root of a fake target (no reference is added).
IUnknown* ContentOf(IDCompositionVisual* visual);
IDCompositionVisual* RootOf(IDCompositionTarget* target);
// The live fake target of a window, if any.
IDCompositionTarget* TargetOf(HWND hwnd);

} // namespace fake
