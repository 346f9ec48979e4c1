// Version files of the program's update signed by a key made for the tests
// ("openssl dgst -sha256 -sign"), and one signed by another key. Each names
// the digest of kInstaller.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kodrin::test {

constexpr std::string_view kReleaseKey =
    "04e24b005255c606c2413b144c03846834c074fc3a985c8f99a072f54a786086bc34360c3949e3e42d390c338888224a5d0edb0bf1e4ca"
    "d77f30519ce7466f1a9f";
constexpr std::string_view kOtherKey =
    "04f613f6dbb192e9edd4be812ed0444aa6471323b19ab276e19a08963d2c0eec00f8ff6bac19e48167bd0c7462eb68ef4250ec978cc697"
    "65ec723531c539e9f626";
constexpr std::string_view kInstaller = "installer bytes of version 9.0";

inline std::string VersionFile(std::string_view version) {
    return "<?xml version=\"1.0\"?>\r\n<KODRIN>\r\n<Version>" + std::string(version) +
           "</Version>\r\n<SHA256>3d0488cef315a7f265e8f78e84e6e2073012acc3c3a2d19b512776deb1ad6635</SHA256>\r\n"
           "</KODRIN>\r\n";
}

struct SignedRelease {
    std::string_view version;
    std::string_view signatureHex;
};
// 9.0.0.0, 1.0.0.0 and 0.0.1.0 by kReleaseKey; 9.0.0.0 again by kOtherKey.
constexpr SignedRelease kNewer = {"9.0.0.0",
    "304402206321e910576a8f85e462e7ce8152ab861a8a7ea4a450f37d6bc7bb3471c823de02200b1405484bf26ea1b263d7af018cd7c4"
    "bd37845e3ed90fd6e1d6bc87243e15cb"};
constexpr SignedRelease kSame = {"1.0.0.0",
    "30450220770bc1a481aa2f63c4de2cff45c6411d4846ae42b69eff3b151142634544a7db022100aa4b673de6629d7be814709af9d260"
    "5f3c3d2b9c0d3125bd2d04ad689f45a734"};
constexpr SignedRelease kOlder = {"0.0.1.0",
    "304502201844291908027a0c48d6906685fc98ed3df2cc1f039458484e4e9a63f9bdf912022100fdd4d1593f245f89dcd8ff6e6bcd61"
    "88113ff8affbf8c263f476142b108619fd"};
constexpr SignedRelease kByOtherKey = {"9.0.0.0",
    "3045022100f40dfd037c6147877ef639c8ce4bbf825340c2474dc4d3da7a591a8da0cf9028022011d39be7dc1101fe766b7d71095b9e"
    "3067cbc2f96513b4c55312a656fe97e431"};

inline std::vector<std::uint8_t> HexBytes(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

}  // namespace kodrin::test
