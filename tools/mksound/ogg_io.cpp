#include "ogg_io.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace mksound {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The encoder's state, released in the order libvorbis asks.
struct Encoder {
    vorbis_info vi{};
    vorbis_comment vc{};
    vorbis_dsp_state vd{};
    vorbis_block vb{};
    ogg_stream_state os{};
    bool analysis = false;
    Encoder() {
        vorbis_info_init(&vi);
        vorbis_comment_init(&vc);
    }
    ~Encoder() {
        if (analysis) {
            ogg_stream_clear(&os);
            vorbis_block_clear(&vb);
            vorbis_dsp_clear(&vd);
        }
        vorbis_comment_clear(&vc);
        vorbis_info_clear(&vi);
    }
};

void WritePage(std::FILE* f, const ogg_page& page) {
    if (std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), f) !=
            static_cast<std::size_t>(page.header_len) ||
        std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), f) !=
            static_cast<std::size_t>(page.body_len))
        throw std::runtime_error("cannot write");
}

// Hands the analysed blocks to the stream and writes the pages that are full.
void Drain(Encoder& e, std::FILE* f) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&e.vd, &e.vb) == 1) {
        vorbis_analysis(&e.vb, nullptr);
        vorbis_bitrate_addblock(&e.vb);
        while (vorbis_bitrate_flushpacket(&e.vd, &packet)) {
            ogg_stream_packetin(&e.os, &packet);
            while (ogg_stream_pageout(&e.os, &page) != 0) WritePage(f, page);
        }
    }
}

void Encode(std::FILE* f, const PcmSound& sound, float quality, int serial) {
    const int channels = static_cast<int>(sound.channels.size());
    Encoder e;
    if (vorbis_encode_init_vbr(&e.vi, channels, sound.rate, quality) != 0)
        throw std::runtime_error("bad encoder settings");
    vorbis_comment_add_tag(&e.vc, "ENCODER", "Vezer mksound");
    vorbis_analysis_init(&e.vd, &e.vi);
    vorbis_block_init(&e.vd, &e.vb);
    ogg_stream_init(&e.os, serial);
    e.analysis = true;

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&e.vd, &e.vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&e.os, &header);
    ogg_stream_packetin(&e.os, &comments);
    ogg_stream_packetin(&e.os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&e.os, &page) != 0) WritePage(f, page);

    const std::size_t total = sound.channels[0].size();
    constexpr std::size_t kChunk = 4096;
    for (std::size_t at = 0; at < total; at += kChunk) {
        const std::size_t n = std::min(kChunk, total - at);
        float** buffer = vorbis_analysis_buffer(&e.vd, static_cast<int>(n));
        for (int c = 0; c < channels; ++c)
            for (std::size_t i = 0; i < n; ++i)
                buffer[c][i] = sound.channels[static_cast<std::size_t>(c)][at + i];
        vorbis_analysis_wrote(&e.vd, static_cast<int>(n));
        Drain(e, f);
    }
    vorbis_analysis_wrote(&e.vd, 0);
    Drain(e, f);
    while (ogg_stream_flush(&e.os, &page) != 0) WritePage(f, page);
}

} // namespace

void WriteOgg(const std::filesystem::path& file, const PcmSound& sound, float quality, int serial) {
    if (sound.channels.empty() || sound.channels[0].empty())
        throw std::runtime_error(file.string() + ": no samples");
    std::filesystem::path temp = file;
    temp += ".tmp";
    {
        File f(std::fopen(temp.c_str(), "wb"));
        if (!f) throw std::runtime_error(temp.string() + ": cannot create");
        try {
            Encode(f.get(), sound, quality, serial);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(temp.string() + ": " + e.what());
        }
        if (std::fflush(f.get()) != 0) throw std::runtime_error(temp.string() + ": cannot write");
    }
    std::filesystem::rename(temp, file);
}

PcmSound ReadOgg(const std::filesystem::path& file) {
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0)
        throw std::runtime_error(file.string() + ": not an Ogg Vorbis file");
    PcmSound sound;
    const vorbis_info* vi = ov_info(&vf, -1);
    sound.rate = static_cast<int>(vi->rate);
    sound.channels.resize(static_cast<std::size_t>(vi->channels));
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == 0) break;
        if (n < 0) {
            ov_clear(&vf);
            throw std::runtime_error(file.string() + ": damaged Vorbis data");
        }
        for (std::size_t c = 0; c < sound.channels.size(); ++c)
            sound.channels[c].insert(sound.channels[c].end(), pcm[c], pcm[c] + n);
    }
    ov_clear(&vf);
    return sound;
}

} // namespace mksound
