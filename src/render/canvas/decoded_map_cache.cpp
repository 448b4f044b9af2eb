#include "render/canvas/decoded_map_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <new>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "base/locked_file.h"
#include "render/canvas/bus_error_guard.h"
#include "render/canvas/picture.h"
#include "render/canvas/pixel_buffer.h"
#include "render/canvas/pixel_store.h"

namespace tcmap {

namespace {

constexpr char kMagic[8] = {'T', 'C', 'M', 'A', 'P', 'P', 'X', '\n'};
constexpr uint32_t kVersion = 2;
constexpr std::string_view kSuffix = ".pixels";
// The newest few maps, and never more than the cache's byte budget in all.
constexpr size_t kMaxEntries = 4;
constexpr uint32_t kMaxPathBytes = 4096;
constexpr size_t kPixelAlignment = 64;
// Rows checked by one checksum: a damaged block is found as it is read.
constexpr uint32_t kBlockRows = 64;

// What identifies the bytes of a source file.
struct SourceId {
    uint64_t size = 0;
    int64_t mtimeNs = 0;
    uint64_t inode = 0;
    uint64_t device = 0;
    bool operator==(const SourceId&) const = default;
};

SourceId sourceIdOf(const struct stat& st) {
    return SourceId{static_cast<uint64_t>(st.st_size),
                    int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec,
                    static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_dev)};
}

// The start of a cache file; the source's path follows it, then one checksum
// per block of rows, then the pixels at `pixelOffset`.
struct Header {
    char magic[8];
    uint32_t version;
    uint32_t pixelOffset;
    int32_t width;
    int32_t height;
    int32_t stride;
    uint32_t pathBytes;
    uint64_t sourceSize;
    int64_t sourceMtimeNs;
    uint64_t sourceInode;
    uint64_t sourceDevice;
    char formatId[40];
    uint32_t blockRows;
    uint32_t checksum;  // CRC-32 of everything before it, the path and the block checksums
};
static_assert(sizeof(Header) == 112);

size_t blockCount(int height) {
    return (size_t(height) + kBlockRows - 1) / kBlockRows;
}

uint32_t headerChecksum(const Header& header, std::string_view path,
                        const std::vector<uint64_t>& blocks) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(&header), offsetof(Header, checksum));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(path.data()), static_cast<uInt>(path.size()));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(blocks.data()),
                static_cast<uInt>(blocks.size() * sizeof(uint64_t)));
    return static_cast<uint32_t>(crc);
}

uint32_t pixelOffsetFor(size_t pathBytes, size_t blocks) {
    const size_t end = sizeof(Header) + pathBytes + blocks * sizeof(uint64_t);
    return static_cast<uint32_t>((end + kPixelAlignment - 1) / kPixelAlignment * kPixelAlignment);
}

// A 64-bit checksum of a block of pixels in four independent lanes, so it
// runs at memory speed (a warm run checks every row it reads).
uint64_t blockChecksum(const uint32_t* pixels, size_t count) {
    constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
    constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
    auto round = [](uint64_t acc, uint64_t word) {
        acc += word * kPrime2;
        acc = (acc << 31) | (acc >> 33);
        return acc * kPrime1;
    };
    uint64_t lanes[4] = {kPrime1, kPrime2, ~kPrime1, ~kPrime2};
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        for (int lane = 0; lane < 4; ++lane) {
            uint64_t word;
            std::memcpy(&word, pixels + i + size_t(lane) * 2, sizeof word);
            lanes[lane] = round(lanes[lane], word);
        }
    }
    uint64_t hash = uint64_t(count) * kPrime1;
    for (const uint64_t lane : lanes) hash = round(hash ^ lane, lane);
    for (; i < count; ++i) hash = round(hash, pixels[i]);
    return hash ^ (hash >> 29);
}

std::vector<uint64_t> blockChecksums(const uint32_t* pixels, int width, int height) {
    std::vector<uint64_t> sums(blockCount(height));
    for (size_t block = 0; block < sums.size(); ++block) {
        const size_t firstRow = block * kBlockRows;
        const size_t rows = std::min<size_t>(kBlockRows, size_t(height) - firstRow);
        sums[block] = blockChecksum(pixels + firstRow * size_t(width), rows * size_t(width));
    }
    return sums;
}

int64_t nowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

bool settled(const SourceId& id, std::chrono::nanoseconds settleTime) {
    return nowNs() - id.mtimeNs >= settleTime.count();
}

// FNV-1a of the source path: the cache file's name (the path itself is
// stored inside and compared, so a collision only costs a decode).
std::string cacheFileName(std::string_view key) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) name[size_t(i)] = kHex[hash & 0xF];
    return name + std::string(kSuffix);
}

// An open file descriptor, closed with its owner.
struct FileHandle {
    explicit FileHandle(int descriptor) : fd(descriptor) {}
    ~FileHandle() {
        if (fd >= 0) ::close(fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd;
};

struct CachedMap {
    int width = 0;
    int height = 0;
    std::string formatId;
    std::shared_ptr<PixelStore> store;
};

bool readExactly(int fd, void* into, size_t bytes, off_t offset) {
    auto* out = static_cast<char*>(into);
    while (bytes > 0) {
        const ssize_t got = ::pread(fd, out, bytes, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        bytes -= size_t(got);
        offset += got;
    }
    return true;
}

bool writeAll(int fd, const void* from, size_t bytes) {
    const auto* in = static_cast<const char*>(from);
    while (bytes > 0) {
        const ssize_t put = ::write(fd, in, std::min<size_t>(bytes, size_t{1} << 30));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        in += put;
        bytes -= size_t(put);
    }
    return true;
}

bool storeCachedMap(const std::string& folder, const std::string& sourcePath,
                    const std::string& key, const SourceId& id, const CachedMap& map,
                    int64_t byteBudget);

// What a cache file's pixels were made from, to decode them again.
struct CacheEntry {
    std::string folder;
    std::string sourcePath;
    std::string key;
    SourceId id;
    std::string formatId;
    int64_t byteBudget;  // of the cache that read it, for the rewrite's pruning
};

// Pixels of a cache file mapped copy-on-write: pages never read are never
// loaded, and each block of rows is checked against its checksum the first
// time it is read. A block that fails its check, or a file cut short under
// the mapping (the bus error guard catches the read), is put right from the
// source map, decoded again into memory of the mapping's own, and the cache
// entry is written again: a damaged cache file is never shown.
class MappedPixelStore final : public PixelStore {
  public:
    MappedPixelStore(void* base, size_t length, size_t pixelOffset, int width, int height,
                     std::vector<uint64_t> sums, CacheEntry entry)
        : base_(base),
          length_(length),
          pixelOffset_(pixelOffset),
          width_(width),
          height_(height),
          sums_(std::move(sums)),
          verified_(sums_.size(), false),
          entry_(std::move(entry)),
          slot_(guardMappedRange(base, length)) {}
    ~MappedPixelStore() override {
        unguardMappedRange(slot_);
        ::munmap(base_, length_);
    }
    MappedPixelStore(const MappedPixelStore&) = delete;
    MappedPixelStore& operator=(const MappedPixelStore&) = delete;

    static std::shared_ptr<MappedPixelStore> map(int fd, size_t length, size_t pixelOffset,
                                                 int width, int height, std::vector<uint64_t> sums,
                                                 CacheEntry entry) {
        void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
        if (base == MAP_FAILED) return nullptr;
        auto store = std::make_shared<MappedPixelStore>(base, length, pixelOffset, width, height,
                                                        std::move(sums), std::move(entry));
        if (store->slot_ < 0) return nullptr;  // unguarded, a cut-short file could end the run
        return store;
    }

    uint32_t* data() override {
        return reinterpret_cast<uint32_t*>(static_cast<unsigned char*>(base_) + pixelOffset_);
    }
    size_t pixelCount() const override { return size_t(width_) * size_t(height_); }

    std::shared_ptr<PixelStore> privateCopy() const override {
        auto& self = const_cast<MappedPixelStore&>(*this);
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!self.prepareRows(0, height_)) throw std::bad_alloc();
            std::vector<uint32_t> copy(self.data(), self.data() + pixelCount());
            if (self.rowsUnchanged(0, height_)) return makeOwnedPixelStore(std::move(copy));
        }
        throw std::bad_alloc();
    }

    bool prepareRows(int firstRow, int endRow) override {
        std::lock_guard lock(mutex_);
        if (repaired_) return true;
        for (size_t block = firstBlock(firstRow); block < endBlock(endRow); ++block) {
            if (verified_[block]) continue;
            if (!blockRight(block)) return repair();
            verified_[block] = true;
        }
        return !guardedRangeDamaged(slot_) || repair();
    }

    // Checked rows can only have changed under the read when the file was cut
    // short (the guard saw it). A rewrite in place between the check and the
    // read, milliseconds apart, would take the user's own process writing
    // into the user's private folder; checking every row twice would double
    // the cost of a warm run for it.
    bool rowsUnchanged(int /*firstRow*/, int /*endRow*/) override {
        std::lock_guard lock(mutex_);
        if (repaired_ || !guardedRangeDamaged(slot_)) return true;
        repair();
        return false;
    }

  private:
    static size_t firstBlock(int row) { return size_t(std::max(row, 0)) / kBlockRows; }
    size_t endBlock(int row) const {
        return std::min(sums_.size(), (size_t(std::max(row, 0)) + kBlockRows - 1) / kBlockRows);
    }

    bool blockRight(size_t block) {
        const size_t firstRow = block * kBlockRows;
        const size_t rows = std::min<size_t>(kBlockRows, size_t(height_) - firstRow);
        const uint64_t sum =
            blockChecksum(data() + firstRow * size_t(width_), rows * size_t(width_));
        return sum == sums_[block] && !guardedRangeDamaged(slot_);
    }

    // Decodes the source map into the mapping's place (memory of its own
    // from now on, which no change to the file reaches) and writes the cache
    // entry again.
    bool repair() {
        Picture decoded;
        if (!decoded.loadFile(entry_.sourcePath) || decoded.width() != width_ ||
            decoded.height() != height_)
            return false;
        void* fresh = ::mmap(base_, length_, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (fresh == MAP_FAILED) return false;
        std::memcpy(data(), decoded.pixels(), pixelCount() * sizeof(uint32_t));
        repaired_ = true;
        storeCachedMap(entry_.folder, entry_.sourcePath, entry_.key, entry_.id,
                       CachedMap{width_, height_, entry_.formatId, decoded.store()},
                       entry_.byteBudget);
        return true;
    }

    std::mutex mutex_;
    void* base_;
    size_t length_;
    size_t pixelOffset_;
    int width_;
    int height_;
    std::vector<uint64_t> sums_;
    std::vector<bool> verified_;
    CacheEntry entry_;
    int slot_;
    bool repaired_ = false;
};

// The cache folder, opened without following a link, when this user owns it
// and nobody else may write to it: only then are its files trusted. -1
// otherwise (or when it cannot be made).
int openTrustedFolder(const std::string& folder) {
    for (size_t slash = 1; slash <= folder.size(); ++slash) {
        if (slash != folder.size() && folder[slash] != '/') continue;
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return -1;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & 022) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The cache file's map when it is whole, this user's, and made from exactly
// this source; a file that is short, of another layout or not a plain file
// gives nothing. Its pixels are checked as they are first read.
std::optional<CachedMap> readCachedMap(int folderFd, const std::string& folder,
                                       const std::string& sourcePath, const std::string& key,
                                       const SourceId& id, int64_t byteBudget) {
    const std::string name = cacheFileName(key);
    const FileHandle file(
        ::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (file.fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return std::nullopt;
    const auto fileBytes = static_cast<uint64_t>(st.st_size);
    Header header{};
    if (fileBytes < sizeof header || !readExactly(file.fd, &header, sizeof header, 0))
        return std::nullopt;
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.version != kVersion ||
        header.pathBytes != key.size() || header.pathBytes > kMaxPathBytes ||
        header.blockRows != kBlockRows || !pictureSizeAllowed(header.width, header.height) ||
        header.pixelOffset != pixelOffsetFor(header.pathBytes, blockCount(header.height)) ||
        int64_t{header.stride} != int64_t{header.width} * 4 ||
        fileBytes != header.pixelOffset + uint64_t(header.stride) * uint64_t(header.height) ||
        SourceId{header.sourceSize, header.sourceMtimeNs, header.sourceInode,
                 header.sourceDevice} != id ||
        header.formatId[sizeof header.formatId - 1] != '\0')
        return std::nullopt;
    std::string path(header.pathBytes, '\0');
    std::vector<uint64_t> sums(blockCount(header.height));
    if (!readExactly(file.fd, path.data(), path.size(), sizeof header) || path != key ||
        !readExactly(file.fd, sums.data(), sums.size() * sizeof(uint64_t),
                     off_t(sizeof header + path.size())) ||
        headerChecksum(header, path, sums) != header.checksum)
        return std::nullopt;

    auto store = MappedPixelStore::map(
        file.fd, size_t(fileBytes), header.pixelOffset, header.width, header.height,
        std::move(sums), CacheEntry{folder, sourcePath, key, id, header.formatId, byteBudget});
    if (!store) return std::nullopt;
    ::futimens(file.fd, nullptr);  // marks it as recently used, for pruning
    return CachedMap{header.width, header.height, header.formatId, std::move(store)};
}

bool isCacheTemporary(std::string_view name) {
    return name.starts_with(".") && name.ends_with(".tmp");
}

// Keeps the newest few cache files within the size bound, counting the
// temporary files of writes still running, and removes the temporary files
// of killed writes (their lock is free).
void pruneCacheFolder(int folderFd, int64_t byteBudget) {
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) return;
    DIR* dir = ::fdopendir(listFd);
    if (dir == nullptr) {
        ::close(listFd);
        return;
    }
    struct Entry {
        int64_t mtimeNs;
        int64_t bytes;
        std::string name;
    };
    std::vector<Entry> entries;
    std::vector<std::string> temporaries;
    while (const dirent* item = ::readdir(dir)) {
        const std::string_view name = item->d_name;
        const bool temporary = isCacheTemporary(name);
        if (!temporary && !name.ends_with(kSuffix)) continue;
        struct stat st {};
        if (::fstatat(folderFd, item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        if (temporary) {
            temporaries.emplace_back(name);
            continue;
        }
        entries.push_back({sourceIdOf(st).mtimeNs, int64_t{st.st_size}, std::string(name)});
    }
    ::closedir(dir);
    int64_t total = 0;
    for (const std::string& name : temporaries) {
        struct stat st {};
        if (removeIfUnlocked(folderFd, name)) continue;
        if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            total += int64_t{st.st_size};
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.mtimeNs > b.mtimeNs; });
    size_t kept = 0;
    for (const Entry& entry : entries) {
        if (kept < kMaxEntries && total + entry.bytes <= byteBudget) {
            ++kept;
            total += entry.bytes;
        } else {
            ::unlinkat(folderFd, entry.name.c_str(), 0);
        }
    }
}

// A fresh locked temporary name for a cache file being written.
int createTemporary(int folderFd, const std::string& name, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = "." + name + "." + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1)) + ".tmp";
        const int fd = createLockedFile(folderFd, temporary, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes the cache file of a decoded map: a locked temporary file, renamed
// into place only when whole and when the source is still the one decoded.
// Returns whether it was written.
bool storeCachedMap(const std::string& folder, const std::string& sourcePath,
                    const std::string& key, const SourceId& id, const CachedMap& map,
                    int64_t byteBudget) {
    const FileHandle folderFd(openTrustedFolder(folder));
    if (folderFd.fd < 0) return false;
    const std::string name = cacheFileName(key);
    std::string temporary;
    const int fd = createTemporary(folderFd.fd, name, temporary);
    if (fd < 0) return false;
    const uint32_t* pixels = map.store->data();
    const std::vector<uint64_t> sums = blockChecksums(pixels, map.width, map.height);
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kVersion;
    header.pathBytes = static_cast<uint32_t>(key.size());
    header.pixelOffset = pixelOffsetFor(key.size(), sums.size());
    header.width = map.width;
    header.height = map.height;
    header.stride = map.width * 4;
    header.sourceSize = id.size;
    header.sourceMtimeNs = id.mtimeNs;
    header.sourceInode = id.inode;
    header.sourceDevice = id.device;
    std::memcpy(header.formatId, map.formatId.data(),
                std::min(map.formatId.size(), sizeof header.formatId - 1));
    header.blockRows = kBlockRows;
    header.checksum = headerChecksum(header, key, sums);
    std::string start(header.pixelOffset, '\0');
    std::memcpy(start.data(), &header, sizeof header);
    std::memcpy(start.data() + sizeof header, key.data(), key.size());
    std::memcpy(start.data() + sizeof header + key.size(), sums.data(),
                sums.size() * sizeof(uint64_t));
    const size_t pixelBytes = size_t(header.stride) * size_t(header.height);
    bool ok = writeAll(fd, start.data(), start.size()) && writeAll(fd, pixels, pixelBytes);
    struct stat st {};
    ok = ok && ::stat(sourcePath.c_str(), &st) == 0 && sourceIdOf(st) == id;
    ok = ok && ::renameat(folderFd.fd, temporary.c_str(), folderFd.fd, name.c_str()) == 0;
    // Removed while still locked, so no sweep takes it for a leftover.
    if (!ok) ::unlinkat(folderFd.fd, temporary.c_str(), 0);
    ::close(fd);
    if (ok) pruneCacheFolder(folderFd.fd, byteBudget);
    return ok;
}

// The map the process keeps decoded, and the cache files being written.
struct KeptMap {
    std::string key;
    SourceId id;
    CachedMap map;
};

}  // namespace

class MapCache::State {
  public:
    explicit State(int64_t byteBudget) : byteBudget_(byteBudget) {}
    ~State() { finishWrites(); }

    std::optional<CachedMap> kept(const std::string& key, const SourceId& id) {
        std::lock_guard lock(mutex_);
        if (!kept_ || kept_->key != key || !(kept_->id == id)) return std::nullopt;
        return kept_->map;
    }
    void keep(const std::string& key, const SourceId& id, const CachedMap& map) {
        std::lock_guard lock(mutex_);
        kept_ = KeptMap{key, id, map};
    }
    // Once the cache file is written, the kept map is read from it: the
    // decoded copy's memory goes back when the job lets its map go.
    void keepMappedIfStillKept(const std::string& key, const SourceId& id, const CachedMap& map) {
        std::lock_guard lock(mutex_);
        if (kept_ && kept_->key == key && kept_->id == id) kept_->map = map;
    }
    void forget() {
        std::lock_guard lock(mutex_);
        kept_.reset();
    }

    // The cache folder when it can be trusted; the first time, the leftovers
    // of killed writes are swept, and an untrusted folder is named once on
    // standard error.
    int openFolder(const std::string& folder) {
        const int fd = openTrustedFolder(folder);
        std::lock_guard lock(mutex_);
        if (fd < 0 && !warned_) {
            warned_ = true;
            std::fprintf(stderr,
                         "tcmap: the map cache folder %s is not a folder of your own that only "
                         "you may write to; maps are decoded without it.\n",
                         folder.c_str());
        }
        if (fd >= 0 && !swept_) {
            swept_ = true;
            pruneCacheFolder(fd, byteBudget_);
        }
        return fd;
    }

    void startWrite(std::string folder, std::string sourcePath, std::string key, SourceId id,
                    CachedMap map) {
        std::lock_guard lock(mutex_);
        try {
            writers_.emplace_back([=, this] {
                try {
                    if (!storeCachedMap(folder, sourcePath, key, id, map, byteBudget_)) return;
                    const FileHandle folderFd(openTrustedFolder(folder));
                    if (folderFd.fd < 0) return;
                    if (auto mapped =
                            readCachedMap(folderFd.fd, folder, sourcePath, key, id, byteBudget_))
                        keepMappedIfStillKept(key, id, *mapped);
                } catch (...) {
                    // A cache file is a convenience: a failed one is simply absent.
                }
            });
        } catch (const std::system_error&) {
            // No thread: write it now rather than not at all.
            storeCachedMap(folder, sourcePath, key, id, map, byteBudget_);
        }
    }
    void finishWrites() {
        std::vector<std::thread> writers;
        {
            std::lock_guard lock(mutex_);
            writers.swap(writers_);
        }
        for (std::thread& writer : writers) writer.join();
    }

  private:
    const int64_t byteBudget_;
    std::mutex mutex_;
    std::optional<KeptMap> kept_;
    std::vector<std::thread> writers_;
    bool warned_ = false;
    bool swept_ = false;
};

namespace {

bool showCachedMap(Picture& picture, const CachedMap& map) {
    return picture.share(map.width, map.height, map.store, map.formatId);
}

std::optional<std::string> readWhole(int fd, size_t size) {
    std::string bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!readExactly(fd, bytes.data(), size, 0)) return std::nullopt;
    return bytes;
}

}  // namespace

MapCache::MapCache(std::string folder, std::chrono::nanoseconds settleTime, int64_t byteBudget)
    : folder_(std::move(folder)),
      settleTime_(settleTime),
      byteBudget_(byteBudget),
      state_(std::make_unique<State>(byteBudget)) {}

MapCache::~MapCache() = default;

bool MapCache::load(Picture& picture, const std::string& path) {
    picture.release();
    const FileHandle source(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (source.fd < 0 || ::fstat(source.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return picture.loadFile(path);  // fails as the plain loader does
    const SourceId id = sourceIdOf(st);
    char resolved[PATH_MAX];
    const std::string key = ::realpath(path.c_str(), resolved) != nullptr ? resolved : path;
    State& state = *state_;

    if (const auto kept = state.kept(key, id)) return showCachedMap(picture, *kept);
    bool useFolder = false;
    if (!folder_.empty() && key.size() <= kMaxPathBytes) {
        const FileHandle folderFd(state.openFolder(folder_));
        useFolder = folderFd.fd >= 0;
        if (useFolder) {
            if (auto cached = readCachedMap(folderFd.fd, folder_, path, key, id, byteBudget_)) {
                if (settled(id, settleTime_)) state.keep(key, id, *cached);
                return showCachedMap(picture, *cached);
            }
        }
    }

    // No usable cache file (none, another source's, damaged or cut short):
    // decoded afresh, and the entry written again.
    const std::optional<std::string> bytes = readWhole(source.fd, size_t(st.st_size));
    if (!bytes ||
        !picture.loadBytes({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()}))
        return false;
    if (!settled(id, settleTime_)) return true;
    const CachedMap decoded{picture.width(), picture.height(), picture.formatId(), picture.store()};
    state.keep(key, id, decoded);
    const int64_t pixelBytes = int64_t{picture.stride()} * picture.height();
    if (useFolder && pixelBytes <= byteBudget_) state.startWrite(folder_, path, key, id, decoded);
    return true;
}

void MapCache::finishWrites() {
    state_->finishWrites();
}

void MapCache::forget() {
    state_->forget();
}

bool loadMapPicture(Picture& picture, const std::string& path, MapCache* cache) {
    if (cache != nullptr) return cache->load(picture, path);
    return picture.loadFile(path);
}

}  // namespace tcmap
