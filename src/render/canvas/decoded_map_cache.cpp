#include "render/canvas/decoded_map_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
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

#include "render/canvas/picture.h"
#include "render/canvas/pixel_buffer.h"
#include "render/canvas/pixel_store.h"

namespace tcmap {

namespace {

constexpr char kMagic[8] = {'T', 'C', 'M', 'A', 'P', 'P', 'X', '\n'};
constexpr uint32_t kVersion = 1;
constexpr std::string_view kSuffix = ".pixels";
// The newest few maps, and never more than this in all.
constexpr size_t kMaxEntries = 4;
constexpr int64_t kMaxTotalBytes = int64_t{1} << 30;
// Temporary files this old belong to a run that was killed.
constexpr int64_t kStaleTempNs = int64_t{15} * 60 * 1'000'000'000;
constexpr uint32_t kMaxPathBytes = 4096;
constexpr size_t kPixelAlignment = 64;

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

// The start of a cache file; the source's path follows it, then the pixels
// at `pixelOffset`.
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
    uint32_t reserved;
    uint32_t checksum;  // CRC-32 of everything before it and of the path
};
static_assert(sizeof(Header) == 112);

uint32_t headerChecksum(const Header& header, std::string_view path) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(&header), offsetof(Header, checksum));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(path.data()), static_cast<uInt>(path.size()));
    return static_cast<uint32_t>(crc);
}

uint32_t pixelOffsetFor(size_t pathBytes) {
    const size_t end = sizeof(Header) + pathBytes;
    return static_cast<uint32_t>((end + kPixelAlignment - 1) / kPixelAlignment * kPixelAlignment);
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

// An open file descriptor, closed with its last owner.
struct FileHandle {
    explicit FileHandle(int descriptor) : fd(descriptor) {}
    ~FileHandle() {
        if (fd >= 0) ::close(fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd;
};

// Pixels of a cache file mapped copy-on-write: writes stay in this process,
// pages never touched are never read.
class MappedPixelStore final : public PixelStore {
  public:
    MappedPixelStore(std::shared_ptr<FileHandle> file, void* base, size_t length,
                     size_t pixelOffset, size_t pixelCount)
        : file_(std::move(file)),
          base_(base),
          length_(length),
          pixelOffset_(pixelOffset),
          pixelCount_(pixelCount) {}
    ~MappedPixelStore() override { ::munmap(base_, length_); }
    MappedPixelStore(const MappedPixelStore&) = delete;
    MappedPixelStore& operator=(const MappedPixelStore&) = delete;

    static std::shared_ptr<MappedPixelStore> map(std::shared_ptr<FileHandle> file, size_t length,
                                                 size_t pixelOffset, size_t pixelCount) {
        void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE, file->fd, 0);
        if (base == MAP_FAILED) return nullptr;
        return std::make_shared<MappedPixelStore>(std::move(file), base, length, pixelOffset,
                                                  pixelCount);
    }

    uint32_t* data() override {
        return reinterpret_cast<uint32_t*>(static_cast<unsigned char*>(base_) + pixelOffset_);
    }
    size_t pixelCount() const override { return pixelCount_; }
    std::shared_ptr<PixelStore> privateCopy() const override {
        auto copy = map(file_, length_, pixelOffset_, pixelCount_);
        if (!copy) throw std::bad_alloc();
        return copy;
    }

  private:
    std::shared_ptr<FileHandle> file_;
    void* base_;
    size_t length_;
    size_t pixelOffset_;
    size_t pixelCount_;
};

struct CachedMap {
    int width = 0;
    int height = 0;
    std::string formatId;
    std::shared_ptr<PixelStore> store;
    // The cache file behind a mapped store, and its length when mapped.
    std::shared_ptr<FileHandle> file;
    uint64_t fileBytes = 0;

    // False when the file behind the mapping was cut short since (by hand:
    // this program only ever replaces cache files), which would make reading
    // the lost pages fatal.
    bool intact() const {
        struct stat st {};
        return !file || (::fstat(file->fd, &st) == 0 && uint64_t(st.st_size) == fileBytes);
    }
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

// The cache file's map when it is whole and made from exactly this source.
std::optional<CachedMap> openCachedMap(const std::string& cachePath, const std::string& key,
                                       const SourceId& id) {
    auto file = std::make_shared<FileHandle>(::open(cachePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (file->fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(file->fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const auto fileBytes = static_cast<uint64_t>(st.st_size);
    Header header{};
    if (fileBytes < sizeof header || !readExactly(file->fd, &header, sizeof header, 0))
        return std::nullopt;
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.version != kVersion ||
        header.pathBytes != key.size() || header.pathBytes > kMaxPathBytes ||
        header.pixelOffset != pixelOffsetFor(header.pathBytes) ||
        !pictureSizeAllowed(header.width, header.height) ||
        int64_t{header.stride} != int64_t{header.width} * 4 ||
        fileBytes != header.pixelOffset + uint64_t(header.stride) * uint64_t(header.height) ||
        SourceId{header.sourceSize, header.sourceMtimeNs, header.sourceInode,
                 header.sourceDevice} != id ||
        header.formatId[sizeof header.formatId - 1] != '\0')
        return std::nullopt;
    std::string path(header.pathBytes, '\0');
    if (!readExactly(file->fd, path.data(), path.size(), sizeof header) || path != key ||
        headerChecksum(header, path) != header.checksum)
        return std::nullopt;
    const size_t pixelCount = size_t(header.width) * size_t(header.height);
    auto store = MappedPixelStore::map(file, size_t(fileBytes), header.pixelOffset, pixelCount);
    if (!store) return std::nullopt;
    ::futimens(file->fd, nullptr);  // marks it as recently used, for pruning
    return CachedMap{header.width,     header.height, header.formatId,
                     std::move(store), file,          fileBytes};
}

// Keeps the newest few cache files within the size bound and removes
// temporary files of killed runs.
void pruneCacheFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    struct Entry {
        int64_t mtimeNs;
        int64_t bytes;
        std::string name;
    };
    std::vector<Entry> entries;
    const int64_t now = nowNs();
    while (const dirent* item = ::readdir(dir)) {
        const std::string_view name = item->d_name;
        const bool temporary = name.starts_with(".") && name.ends_with(".tmp");
        if (!temporary && !name.ends_with(kSuffix)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        const int64_t mtime = sourceIdOf(st).mtimeNs;
        if (temporary) {
            if (now - mtime > kStaleTempNs) ::unlinkat(::dirfd(dir), item->d_name, 0);
            continue;
        }
        entries.push_back({mtime, int64_t{st.st_size}, std::string(name)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.mtimeNs > b.mtimeNs; });
    int64_t total = 0;
    size_t kept = 0;
    for (const Entry& entry : entries) {
        if (kept < kMaxEntries && total + entry.bytes <= kMaxTotalBytes) {
            ++kept;
            total += entry.bytes;
        } else {
            ::unlinkat(::dirfd(dir), entry.name.c_str(), 0);
        }
    }
    ::closedir(dir);
}

bool makeFolders(const std::string& folder) {
    for (size_t slash = 1; slash <= folder.size(); ++slash) {
        if (slash != folder.size() && folder[slash] != '/') continue;
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Writes the cache file of a decoded map: a temporary file, renamed into
// place only when whole and when the source is still the one decoded.
// Returns the cache file's path, or empty when none was written.
std::string storeCachedMap(const std::string& folder, const std::string& sourcePath,
                           const std::string& key, const SourceId& id, const CachedMap& map) {
    if (!makeFolders(folder)) return {};
    const std::string name = cacheFileName(key);
    std::string temporary = folder + "/." + name + ".XXXXXX.tmp";
    const int fd = ::mkostemps(temporary.data(), 4, O_CLOEXEC);
    if (fd < 0) return {};
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kVersion;
    header.pathBytes = static_cast<uint32_t>(key.size());
    header.pixelOffset = pixelOffsetFor(key.size());
    header.width = map.width;
    header.height = map.height;
    header.stride = map.width * 4;
    header.sourceSize = id.size;
    header.sourceMtimeNs = id.mtimeNs;
    header.sourceInode = id.inode;
    header.sourceDevice = id.device;
    std::memcpy(header.formatId, map.formatId.data(),
                std::min(map.formatId.size(), sizeof header.formatId - 1));
    header.checksum = headerChecksum(header, key);
    std::string start(header.pixelOffset, '\0');
    std::memcpy(start.data(), &header, sizeof header);
    std::memcpy(start.data() + sizeof header, key.data(), key.size());
    const size_t pixelBytes = size_t(header.stride) * size_t(header.height);
    bool ok =
        writeAll(fd, start.data(), start.size()) && writeAll(fd, map.store->data(), pixelBytes);
    ok = (::close(fd) == 0) && ok;
    struct stat st {};
    ok = ok && ::stat(sourcePath.c_str(), &st) == 0 && sourceIdOf(st) == id;
    const std::string final = folder + "/" + name;
    if (!ok || ::rename(temporary.c_str(), final.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return {};
    }
    pruneCacheFolder(folder);
    return final;
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
    ~State() { finishWrites(); }

    std::optional<CachedMap> kept(const std::string& key, const SourceId& id) {
        std::lock_guard lock(mutex_);
        if (kept_ && !kept_->map.intact()) kept_.reset();
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

    void startWrite(std::string folder, std::string sourcePath, std::string key, SourceId id,
                    CachedMap map) {
        std::lock_guard lock(mutex_);
        try {
            writers_.emplace_back([=, this] {
                try {
                    const std::string written = storeCachedMap(folder, sourcePath, key, id, map);
                    if (written.empty()) return;
                    if (auto mapped = openCachedMap(written, key, id))
                        keepMappedIfStillKept(key, id, *mapped);
                } catch (...) {
                    // A cache file is a convenience: a failed one is simply absent.
                }
            });
        } catch (const std::system_error&) {
            // No thread: write it now rather than not at all.
            storeCachedMap(folder, sourcePath, key, id, map);
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
    std::mutex mutex_;
    std::optional<KeptMap> kept_;
    std::vector<std::thread> writers_;
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

MapCache::MapCache(std::string folder, std::chrono::nanoseconds settleTime)
    : folder_(std::move(folder)), settleTime_(settleTime), state_(std::make_unique<State>()) {}

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
    if (!folder_.empty() && key.size() <= kMaxPathBytes) {
        if (auto cached = openCachedMap(folder_ + "/" + cacheFileName(key), key, id)) {
            if (settled(id, settleTime_)) state.keep(key, id, *cached);
            return showCachedMap(picture, *cached);
        }
    }

    const std::optional<std::string> bytes = readWhole(source.fd, size_t(st.st_size));
    if (!bytes ||
        !picture.loadBytes({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()}))
        return false;
    if (!settled(id, settleTime_)) return true;
    const CachedMap decoded{picture.width(), picture.height(), picture.formatId(),
                            picture.store(), nullptr,          0};
    state.keep(key, id, decoded);
    const int64_t pixelBytes = int64_t{picture.stride()} * picture.height();
    if (!folder_.empty() && key.size() <= kMaxPathBytes && pixelBytes <= kMaxTotalBytes)
        state.startWrite(folder_, path, key, id, decoded);
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
