#include "presets/PresetTable.h"

namespace corvane {

const std::vector<PresetKey>& presetKeys() {
    static const std::vector<PresetKey> keys = {
        {"Desktop", "D3DTab"},          {"Desktop", "OpenGLTab"},
        {"Desktop", "EnableIcon"},      {"D3D", "D3DWaitSync"},
        {"D3D", "PaletteBased"},        {"D3D", "EnableKatmai"},
        {"D3D", "EnableSysMemBlts"},    {"D3D", "AntiAlias"},
        {"D3D", "Dithering"},           {"D3D", "EnablePrimary"},
        {"D3D", "ZBufferCB"},           {"D3D", "RedGamma"},
        {"D3D", "GreenGamma"},          {"D3D", "BlueGamma"},
        {"OpenGL", "OpenWaitVertSync"}, {"OpenGL", "PageFlipping"},
        {"OpenGL", "KTXBufferRegion"},  {"OpenGL", "Convert32To16"},
        {"OpenGL", "DisDitherAlpha"},   {"OpenGL", "MultiTexture"},
        {"OpenGL", "SubpixelCB"},       {"OpenGL", "ForceDepthBuffer"},
        {"OpenGL", "ModulateFactor"},   {"OpenGL", "DetailLevel"},
        {"Advanced", "HMDLUseAGP"},     {"DVD", "LFE"},
        {"DVD", "UseSurround"},         {"DVD", "DialogNormalization"},
        {"DVD", "CompressionModeCB"},   {"DVD", "SampleRate"},
        {"DVD", "AC3SPDIFOut"},         {"DVD", "HardwareOptimization"},
        {"DVD", "TripleBuffering"},     {"DVD", "PerformanceClass"},
    };
    return keys;
}

}  // namespace corvane
