// The process-wide graphics objects and the composition objects of each box. This file only makes,
// rebinds and releases them and says how that went; painting decides what a box does about it.
#pragma once
#include "base/win.h"

#include <d2d1_1.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dwrite.h>
#include <dxgi1_2.h>

struct BoxWin;

extern ID2D1Device* g_d2dDev;
extern IDWriteFactory* g_dw;
extern IDCompositionDevice* g_dcomp;

// How the composition device and a box's composition swap chain are made. The system's functions by
// default; tests put stand-ins here, since some systems (Wine) cannot compose.
using MakeCompositionDeviceFn = HRESULT (*)(IDCompositionDevice** out);
using MakeBoxSwapChainFn = HRESULT (*)(ID3D11Device* device, const DXGI_SWAP_CHAIN_DESC1& desc, IDXGISwapChain1** out);
extern MakeCompositionDeviceFn g_makeCompositionDevice;
extern MakeBoxSwapChainFn g_makeBoxSwapChain;
// How the Direct3D device tells of its removal: an event it sets, and the reason it gives when asked.
struct DeviceRemovalFns {
    HRESULT (*watch)(ID3D11Device* device, HANDLE event, DWORD* cookie);
    void (*unwatch)(ID3D11Device* device, DWORD cookie);
    HRESULT (*reason)(ID3D11Device* device);
};
extern DeviceRemovalFns g_deviceRemoval;

// Set when the Direct3D device was removed, even while nothing draws; null while no device can
// tell (none made, or a system before Windows 10 1703).
HANDLE DeviceRemovedEvent();
// The composition devices are there (boxes made now compose).
bool CompositionReady();
// They were there once in this process and are not now (a rebuild after a loss failed).
bool CompositionMissing();

// A Direct2D factory for drawing without a device: the 1.1 factory, or a 1.0 factory where 1.1 is
// missing. Null only when Direct2D cannot be loaded at all.
// The shared graphics devices (start-up); the program goes on whatever the result.
bool InitDCompInfra();

ID2D1Factory* AnyD2DFactory();

// Makes both text formats of a box from g_fontName and g_fontSize (the names at NameFontSize(rebuilt)).
// Formats already held are released first; without a DirectWrite factory both stay null.
void MakeBoxFormats(BoxWin* box, bool rebuilt);
// Gives a box the formats a new box gets (those remade after a style change may differ in the names
// size); true when they had to be made again.
bool RenewBoxFormats(BoxWin* box);

// A box's swap chain, device context, target bitmap, brush, composition target and visual, wired
// and committed; all or none. The answer of the call that failed.
HRESULT MakeBoxComposition(BoxWin* box);
void ReleaseBoxComposition(BoxWin* box);

enum class ChainResize { Unchanged, Resized, Failed, Lost };
// Gives the box's swap chain buffers of w x h (nothing when they have that size already). The box's
// width and height are then the buffers' size, whether or not the resize went through.
ChainResize ResizeBoxChain(BoxWin* box, int w, int h);
// A composition box that lost its drawing target gets one again (its back buffer, or a new swap chain).
bool RecoverBoxTarget(BoxWin* box);

// An answer of Present, ResizeBuffers or EndDraw that means the device is gone.
bool IsDeviceLoss(HRESULT hr);
// Asks the composition device and the Direct3D device whether they still work.
bool CompositionDevicesLost();

// After a loss: the composition device is kept when it reports itself valid (with every box's target
// and visual); every object made on the Direct3D and Direct2D devices goes, the devices are made
// anew, and each box not drawn into a bitmap gets a new swap chain shown by its visual (one that
// waited for the devices is wired now), committed once.
// `boxFailed` is called for every box that cannot compose any more (its composition objects are gone).
void RebuildCompositionDevices(void (*boxFailed)(BoxWin* box));
// Every device this file made, for the end of a test or of the program.
void ReleaseCompositionDevices();
