#include "value.h"

#include "error.h"
#include "execution_limits.h"
#include "operations.h"
#include "spin_lock.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <unordered_set>

namespace velmor {

namespace {

// Objects waiting to be freed, one queue per thread (values are never
// shared between threads). The main thread's is created before main (or by
// the first object freed before then), another thread's by the first object
// it frees; it stays until its thread ends, so it is there when an
// out-of-memory error unwinds, and one freed at the end is made again for
// static values freed after it.
struct Destruction {
    std::vector<Object*>* pending = nullptr;
    bool destroying = false;
};
Destruction& destruction() { return PerThread<Destruction>::get(); }

void noteThreadUse();

[[gnu::noinline]] std::vector<Object*>& makeDestructionQueue() {
    auto* created = new std::vector<Object*>();
    created->reserve(4096);
    destruction().pending = created;
    noteThreadUse();
    return *created;
}

std::vector<Object*>& destructionQueue(Destruction& state) {
    return state.pending ? *state.pending : makeDestructionQueue();
}

[[maybe_unused]] const bool kDestructionQueueReady = (destructionQueue(destruction()), true);

}  // namespace

// ---------------------------------------------------------------------------
// Object memory

#if defined(__SANITIZE_ADDRESS__)
#define VELMOR_POOL_OBJECTS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMOR_POOL_OBJECTS 0
#endif
#endif
#ifndef VELMOR_POOL_OBJECTS
#define VELMOR_POOL_OBJECTS 1
#endif

namespace {
// Pooled blocks come in multiples of this many bytes.
constexpr std::size_t kPoolGranule = 16;
}  // namespace

#if VELMOR_POOL_OBJECTS
namespace {

constexpr std::size_t kPoolClasses = kLargestPooledObject / kPoolGranule;
constexpr std::size_t kPoolChunkBytes = std::size_t{64} << 10;

struct FreeBlock {
    FreeBlock* next;
};

// Per size class (class c holds blocks of (c + 1) * 16 bytes): the blocks
// freed so far, and the untouched rest of the class's newest chunk, which
// is handed out from the front so that no page is touched before it is
// needed. Plain pointers, so that they need no construction and outlive
// every static Value that is freed at exit. One pool per thread, so that
// engines on two threads allocate without a lock; a block freed on another
// thread than the one that allocated it (an engine handed from one thread
// to the next) joins the freeing thread's pool. Chunks are never given
// back to the system; when their thread ends, its free blocks go to the
// orphans of their class, which the next thread short of blocks of that
// class adopts, so that a host running each script on a new thread uses the
// memory of the most threads it runs at once, not of all it ever ran.
struct PoolClass {
    FreeBlock* freed;
    char* unused;
    char* unusedEnd;
};
struct Pool {
    PoolClass classes[kPoolClasses];
};
PoolClass* threadPool() { return PerThread<Pool>::get().classes; }

// The orphans, under a spin lock: a thread takes it at its end and when it
// needs a new chunk.
FreeBlock* orphans[kPoolClasses];
SpinLock orphansLock;
std::atomic<std::size_t> chunksTaken{0};

std::size_t poolClass(std::size_t size) { return (size - 1) / kPoolGranule; }

void orphanThreadPool() {
    for (std::size_t index = 0; index < kPoolClasses; ++index) {
        PoolClass& sizeClass = threadPool()[index];
        const std::size_t blockSize = (index + 1) * kPoolGranule;
        for (; sizeClass.unused != sizeClass.unusedEnd; sizeClass.unused += blockSize) {
            auto* block = reinterpret_cast<FreeBlock*>(sizeClass.unused);
            block->next = sizeClass.freed;
            sizeClass.freed = block;
        }
        if (!sizeClass.freed) continue;
        FreeBlock* last = sizeClass.freed;
        while (last->next) last = last->next;
        const SpinLock::Guard guard(orphansLock);
        last->next = orphans[index];
        orphans[index] = sizeClass.freed;
        sizeClass.freed = nullptr;
    }
}

[[gnu::noinline]] void* takeFromNewChunk(PoolClass& sizeClass, std::size_t blockSize) {
    const std::size_t index = blockSize / kPoolGranule - 1;
    {
        const SpinLock::Guard guard(orphansLock);
        if (FreeBlock* adopted = orphans[index]) {
            orphans[index] = nullptr;
            sizeClass.freed = adopted->next;
            return adopted;
        }
    }
    noteThreadUse();
    chunksTaken.fetch_add(1, std::memory_order_relaxed);
    sizeClass.unused = static_cast<char*>(::operator new(kPoolChunkBytes));
    sizeClass.unusedEnd = sizeClass.unused + kPoolChunkBytes / blockSize * blockSize;
    void* block = sizeClass.unused;
    sizeClass.unused += blockSize;
    return block;
}

}  // namespace

void* allocateObject(std::size_t size) {
    if (size == 0 || size > kLargestPooledObject) return ::operator new(size);
    PoolClass& sizeClass = threadPool()[poolClass(size)];
    if (FreeBlock* block = sizeClass.freed) {
        sizeClass.freed = block->next;
        return block;
    }
    const std::size_t blockSize = (poolClass(size) + 1) * kPoolGranule;
    if (sizeClass.unused == sizeClass.unusedEnd) return takeFromNewChunk(sizeClass, blockSize);
    void* block = sizeClass.unused;
    sizeClass.unused += blockSize;
    return block;
}

void freeObject(void* block, std::size_t size) noexcept {
    if (size == 0 || size > kLargestPooledObject) {
        ::operator delete(block);
        return;
    }
    PoolClass& sizeClass = threadPool()[poolClass(size)];
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = sizeClass.freed;
    sizeClass.freed = freed;
}
std::size_t pooledChunksTaken() { return chunksTaken.load(std::memory_order_relaxed); }
#else
void* allocateObject(std::size_t size) { return ::operator new(size); }
void freeObject(void* block, std::size_t) noexcept { ::operator delete(block); }
std::size_t pooledChunksTaken() { return 0; }
#endif

namespace {

// What a thread that ends leaves: its destruction queue and its one-byte
// strings are freed, and its pool's blocks become orphans. Set up by the
// first use of either that needs memory, so that a use on the fast paths
// costs nothing; later thread-local values are destroyed before it.
class ThreadEnd {
public:
    ThreadEnd() = default;
    ThreadEnd(const ThreadEnd&) = delete;
    ThreadEnd& operator=(const ThreadEnd&) = delete;
    ~ThreadEnd() {
        if (const Value* table = byteStringTable()) {
            byteStringTable() = nullptr;
            delete[] table;
        }
        Destruction& queue = destruction();
        if (queue.pending && queue.pending->empty()) {
            delete queue.pending;
            queue.pending = nullptr;
        }
#if VELMOR_POOL_OBJECTS
        orphanThreadPool();
#endif
    }
};

void noteThreadUse() {
    thread_local ThreadEnd end;
    (void)end;
}

}  // namespace

StringObj* StringObj::allocate(std::size_t length, std::size_t capacity) {
    countAllocation(capacity);
    std::size_t size = sizeof(StringObj) + capacity + 1;
    if (size <= kLargestPooledObject) {
        // The rest of the pooled block is room to append in place.
        size = (size + kPoolGranule - 1) / kPoolGranule * kPoolGranule;
        capacity = size - sizeof(StringObj) - 1;
    }
    void* memory = allocateObject(size);
    auto* string = ::new (memory) StringObj(length, capacity);
    string->bytes()[length] = '\0';
    return string;
}

void StringObj::operator delete(StringObj* string, std::destroying_delete_t) noexcept {
    const std::size_t size = sizeof(StringObj) + string->capacity + 1;
    string->~StringObj();
    freeObject(string, size);
}

void destroyObject(Object* object) {
    Destruction& state = destruction();
    bool& destroying = state.destroying;
    std::vector<Object*>& pending = destructionQueue(state);
    if (destroying) {
        // Destruction runs while an out-of-memory error unwinds too: when the
        // queue cannot grow, free the object here, recursing as a last resort.
        if (pending.size() == pending.capacity()) {
            try {
                pending.reserve(pending.capacity() * 2);
            } catch (const std::bad_alloc&) {
                delete object;
                return;
            }
        }
        pending.push_back(object);
        return;
    }
    destroying = true;
    delete object;
    while (!pending.empty()) {
        Object* next = pending.back();
        pending.pop_back();
        delete next;
    }
    destroying = false;
}

Value::Value(std::string_view text) : Value(ValueKind::String, StringObj::allocate(text.size(), text.size())) {
    if (!text.empty()) std::memcpy(asStringObj().bytes(), text.data(), text.size());
}
Value::Value(Ref<ListObj> list) : Value(ValueKind::List, list.get()) {}
Value::Value(Ref<MapData> map) : Value(ValueKind::Map, map.get()) {}
Value::Value(Ref<FunctionObj> function) : Value(ValueKind::Function, reinterpret_cast<Object*>(function.get())) {}
Value::Value(Ref<NativeObj> native) : Value(ValueKind::Native, reinterpret_cast<Object*>(native.get())) {}
Value::Value(Ref<VMClosure> closure) : Value(ValueKind::Closure, reinterpret_cast<Object*>(closure.get())) {}

// Only ever grows the block. The items are relocated by their bytes; see
// the class comment.
void ValueVector::reallocate(std::size_t capacity) {
    if (capacity > std::numeric_limits<std::size_t>::max() / sizeof(Value)) throw std::bad_alloc();
    if (capacity_ > kPooledItems) {
        void* block = std::realloc(static_cast<void*>(data_), capacity * sizeof(Value));
        if (!block) throw std::bad_alloc();
        data_ = static_cast<Value*>(block);
        capacity_ = capacity;
        return;
    }
    // From the pool (or no block yet) to a pooled block or the first general one.
    void* block =
        capacity <= kPooledItems ? allocateObject(capacity * sizeof(Value)) : std::malloc(capacity * sizeof(Value));
    if (!block) throw std::bad_alloc();
    if (size_ > 0) std::memcpy(block, static_cast<const void*>(data_), size_ * sizeof(Value));
    freeBlock();
    data_ = static_cast<Value*>(block);
    capacity_ = capacity;
}

Value* ValueVector::insert(const Value* position, Value item) {
    const std::size_t at = static_cast<std::size_t>(position - data_);
    if (size_ == capacity_) grow(size_ + 1);
    Value* slot = data_ + at;
    std::memmove(static_cast<void*>(slot + 1), static_cast<const void*>(slot), (size_ - at) * sizeof(Value));
    new (slot) Value(std::move(item));
    ++size_;
    return slot;
}

Value* ValueVector::erase(const Value* first, const Value* last) {
    Value* from = data_ + (first - data_);
    const std::size_t count = static_cast<std::size_t>(last - first);
    if (count == 0) return from;
    // Take the erased items out before releasing them, so that the vector
    // is whole whenever a release runs.
    ValueVector erased;
    erased.reserve(count);
    std::memcpy(static_cast<void*>(erased.data_), static_cast<const void*>(from), count * sizeof(Value));
    erased.size_ = count;
    std::memmove(static_cast<void*>(from), static_cast<const void*>(from + count),
                 (size_ - (from - data_) - count) * sizeof(Value));
    size_ -= count;
    return from;
}

Value Value::newList() { return Value(ValueKind::List, new ListObj()); }
Value Value::newList(ValueVector items) {
    countAllocation(items.size());
    return Value(ValueKind::List, new ListObj(std::move(items)));
}
Value Value::newMap() { return Value(ValueKind::Map, new MapData()); }

const char* kindTypeName(ValueKind kind) {
    switch (kind) {
    case ValueKind::Nil: return "nil";
    case ValueKind::Bool: return "bool";
    case ValueKind::Int:
    case ValueKind::Float: return "number";
    case ValueKind::String: return "string";
    case ValueKind::List: return "list";
    case ValueKind::Map: return "map";
    case ValueKind::Function:
    case ValueKind::Native:
    case ValueKind::Closure: return "function";
    }
    return "unknown";
}

const char* typeName(const Value& value) { return kindTypeName(value.kind()); }

bool valuesEqual(const Value& a, const Value& b) {
    if (a.isBool() || b.isBool()) return a.isBool() && b.isBool() && a.asBool() == b.asBool();
    if (a.isNumber() && b.isNumber()) {
        if (a.isInt() && b.isInt()) return compareIntsAsDoubles(BinaryOp::Eq, a.asInt(), b.asInt());
        return compareDoubles(BinaryOp::Eq, asDouble(a), asDouble(b));
    }
    if (a.isString() && b.isString()) {
        return a.asObject() == b.asObject() || a.asString() == b.asString();
    }
    if (a.isNil() || b.isNil()) return a.isNil() && b.isNil();
    if (a.kind() != b.kind()) return false;
    return a.asObject() == b.asObject();
}

// Keys match as == matches them, except that lists, maps and functions never
// match, not even themselves.
bool keysEqual(const Value& a, const Value& b) {
    if (a.kind() > ValueKind::String || b.kind() > ValueKind::String) return false;
    return valuesEqual(a, b);
}

namespace {

// Hash consistent with keysEqual: numbers hash by their double value (so 1
// and 1.0 collide, and so do Ints that round to the same double), with -0.0
// folded into 0.0.
[[gnu::noinline]] std::size_t computeStringHash(const StringObj& s) {
    const std::size_t h = std::hash<std::string_view>{}(s.view());
    s.hashCache = h == 0 ? 1 : h;
    return s.hashCache;
}

// A string's hash, computed once and kept in the string (0: not yet).
inline std::size_t stringHash(const StringObj& s) { return s.hashCache != 0 ? s.hashCache : computeStringHash(s); }

std::size_t keyHash(const Value& key) {
    switch (key.kind()) {
    case ValueKind::String: return stringHash(key.asStringObj());
    case ValueKind::Int:
    case ValueKind::Float: {
        double d = asDouble(key);
        if (d == 0) d = 0;
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        bits ^= bits >> 33;
        bits *= 0xff51afd7ed558ccdULL;
        bits ^= bits >> 33;
        return static_cast<std::size_t>(bits);
    }
    case ValueKind::Bool: return key.asBool() ? 0x9e3779b97f4a7c15ULL : 0x7f4a7c159e3779b9ULL;
    default: return 0x51afd7ed558ccd1bULL;
    }
}

// The bits of a hash that a slot keeps beside its position: the top ones,
// as the low ones choose the slot. Keys that keysEqual matches have equal
// hashes and so equal tags.
uint32_t hashTag(std::size_t hash) { return static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32); }

bool isNaNKey(const Value& key) { return key.isFloat() && std::isnan(key.asFloat()); }

// Keys that keysEqual can match at all; lists, maps and functions never match.
bool isIndexable(const Value& key) { return key.kind() <= ValueKind::String && !isNaNKey(key); }

}  // namespace

std::ptrdiff_t MapData::scan(const Value& key) const {
    const std::size_t count = entries_.size();
    // Specialised scans for the common key kinds; they agree with keysEqual.
    // A hole's key is no string, and the generic scan passes over it.
    if (key.isString()) {
        const std::string_view text = key.asString();
        for (std::size_t i = 0; i < count; ++i) {
            const Value& k = entries_[i].key;
            if (k.isString() && (k.asObject() == key.asObject() || k.asString() == text))
                return static_cast<std::ptrdiff_t>(i);
        }
        return -1;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Value& k = entries_[i].key;
        if (keysEqual(k, key) && !isHole(k)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

void MapData::insertIntoIndex(std::size_t position) const {
    const Value& key = entries_[position].key;
    if (!key.isString() && (!isIndexable(key) || isHole(key))) return;  // strings first: the common keys
    const std::size_t mask = slots_.size() - 1;
    const std::size_t hash = keyHash(key);
    std::size_t slot = hash & mask;
    while (slots_[slot].position >= 0) slot = (slot + 1) & mask;
    slots_[slot] = IndexSlot{static_cast<int32_t>(position), hashTag(hash)};
}

void MapData::catchUpIndex() const {
    // Every position, holes included, may occupy a slot (a slot that leads to
    // a hole stays taken until the index is built again), so sizing by
    // positions keeps the table at most half full.
    const std::size_t count = entries_.size();
    if (indexed_ == count && !slots_.empty()) return;
    if (slots_.size() < count * 2 || indexed_ == 0) {
        std::size_t capacity = 64;
        while (capacity < count * 2) capacity *= 2;
        slots_.assign(capacity, IndexSlot{-1, 0});
        indexed_ = 0;
    }
    for (; indexed_ < count; ++indexed_) insertIntoIndex(indexed_);
}

std::ptrdiff_t MapData::probe(const Value& key) const {
    if (indexed_ != entries_.size() || slots_.empty()) [[unlikely]]
        catchUpIndex();
    const std::size_t mask = slots_.size() - 1;
    if (key.isString()) {
        // The common case: a string key among strings. A slot's tag tells
        // most other keys apart without reading their entries; every indexed
        // string has its hash cached, which tells most of the rest apart
        // without reading their bytes. A slot that leads to a hole fails the
        // string test.
        const StringObj& text = key.asStringObj();
        const std::size_t hash = stringHash(text);
        const uint32_t tag = hashTag(hash);
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const IndexSlot indexed = slots_[slot];
            if (indexed.position < 0) return -1;
            if (indexed.tag != tag) continue;
            const int32_t position = indexed.position;
            const Value& k = entries_[static_cast<std::size_t>(position)].key;
            if (k.isString() && (k.asObject() == key.asObject() ||
                                 (k.asStringObj().hashCache == hash && k.asString() == text.view()))) {
                return position;
            }
        }
    }
    // Any other key: the string loop above has returned for every string.
    if (!isIndexable(key)) return -1;
    const std::size_t hash = keyHash(key);
    const uint32_t tag = hashTag(hash);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const IndexSlot indexed = slots_[slot];
        if (indexed.position < 0) return -1;
        if (indexed.tag != tag) continue;
        const int32_t position = indexed.position;
        const Value& k = entries_[static_cast<std::size_t>(position)].key;
        if (keysEqual(k, key) && !isHole(k)) return position;
    }
}

std::ptrdiff_t MapData::indexOf(const Value& key) const {
    if (entries_.size() < kIndexThreshold || entries_.size() > static_cast<std::size_t>(INT32_MAX)) return scan(key);
    return probe(key);
}

Value* MapData::find(const Value& key) {
    std::ptrdiff_t i = indexOf(key);
    return i < 0 ? nullptr : &entries_[static_cast<std::size_t>(i)].value;
}

const Value* MapData::find(const Value& key) const {
    std::ptrdiff_t i = indexOf(key);
    return i < 0 ? nullptr : &entries_[static_cast<std::size_t>(i)].value;
}

void MapData::set(const Value& key, Value value) {
    std::ptrdiff_t i = indexOf(key);
    if (i >= 0) {
        entries_[static_cast<std::size_t>(i)].value = std::move(value);
    } else {
        entries_.push_back(MapEntry{key, std::move(value)});
    }
}

bool MapData::remove(const Value& key) {
    const std::ptrdiff_t i = indexOf(key);
    if (i < 0) return false;
    MapEntry& entry = entries_[static_cast<std::size_t>(i)];
    // The key and value are released only once the map is whole again.
    MapEntry removed{std::move(entry.key), std::move(entry.value)};
    if (entries_.size() < kIndexThreshold) {
        // No index to keep: moving at most a few entries is cheapest.
        entries_.erase(entries_.begin() + i);
        slots_.clear();
        indexed_ = 0;
        return true;
    }
    entry.key = holeKey();
    ++holes_;
    if (holes_ * 2 > entries_.size()) compact();
    return true;
}

void MapData::compact() {
    std::erase_if(entries_, [](const MapEntry& entry) { return isHole(entry.key); });
    holes_ = 0;
    slots_.clear();
    indexed_ = 0;
}

void MapData::clear() {
    // Emptied before the entries go, so that a release that reaches this map
    // again finds it consistent.
    std::vector<MapEntry> dropped;
    dropped.swap(entries_);
    holes_ = 0;
    slots_.clear();
    indexed_ = 0;
}

void MapData::assign(const MapData& other) {
    if (&other == this) return;
    std::vector<MapEntry> copied;
    copied.reserve(other.size());
    other.forEach([&](const MapEntry& entry) { copied.push_back(entry); });
    clear();
    entries_ = std::move(copied);
}

const Value* makeByteStrings() {
    // Never freed, so that they outlive every other static holder of one.
    auto table = std::make_unique<Value[]>(256);
    for (int code = 0; code < 256; ++code) {
        const char byte = static_cast<char>(code);
        table[code] = Value(std::string_view(&byte, 1));
    }
    byteStringTable() = table.release();
    return byteStringTable();
}

bool appendToString(Value& target, std::string_view tail, std::size_t spare) {
    StringObj& string = target.asStringObj();
    const std::size_t length = string.length + tail.size();
    if (length > maxStringLength() || spare > maxStringLength() - length) return false;
    if (length + spare <= string.capacity) {
        // Apart from the end of the bytes, so `tail` may be a view of them.
        std::memcpy(string.bytes() + string.length, tail.data(), tail.size());
        string.bytes()[length] = '\0';
        string.length = length;
        string.hashCache = 0;
        return true;
    }
    // Room for as much again, so that a string built by repeated appends is
    // copied a logarithmic number of times.
    const std::size_t capacity = std::min(std::max(length + spare, 2 * string.length), maxStringLength());
    StringObj* grown = StringObj::allocate(length, capacity);
    std::memcpy(grown->bytes(), string.bytes(), string.length);
    std::memcpy(grown->bytes() + string.length, tail.data(), tail.size());
    target = Value(ValueKind::String, grown);
    return true;
}

bool appendToList(Value& target, const ValueVector& tail) {
    ValueVector& items = target.listItems();
    const std::size_t count = tail.size();
    if (items.size() + count > maxListLength()) return false;
    countAllocation(count);
    // Room first, so that the items then go in without a failure half-way;
    // doubling keeps a list built by repeated appends linear. By index, as
    // `tail` may be the target's own items.
    if (items.size() + count > items.capacity()) items.reserve(std::max(items.size() + count, 2 * items.size()));
    for (std::size_t i = 0; i < count; ++i) items.push_back(tail[i]);
    return true;
}

bool concatenate(const Value& left, const Value& right, Value& result) {
    if (left.isString()) {
        const std::string_view a = left.asString();
        const std::string_view b = right.asString();
        if (a.size() + b.size() > maxStringLength()) return false;
        result = Value::newString(a.size() + b.size(), [&](char* bytes) {
            std::memcpy(bytes, a.data(), a.size());
            std::memcpy(bytes + a.size(), b.data(), b.size());
        });
        return true;
    }
    const ValueVector& a = left.listItems();
    const ValueVector& b = right.listItems();
    if (a.size() + b.size() > maxListLength()) return false;
    ValueVector items;
    items.reserve(a.size() + b.size());
    items.insert(items.end(), a.begin(), a.end());
    items.insert(items.end(), b.begin(), b.end());
    result = Value::newList(std::move(items));
    return true;
}

// ---------------------------------------------------------------------------
// Text forms

namespace {

void appendInt(std::string& out, int64_t i) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, i);
    out.append(buffer, result.ptr);
}

}  // namespace

std::string formatInt(int64_t i) {
    std::string out;
    appendInt(out, i);
    return out;
}

Value intString(int64_t i) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, i);
    return Value(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::string formatNumber(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    std::string out;
    if (std::signbit(d)) {
        out.push_back('-');
        d = -d;
    }
    if (d == 0) return out + "0.0";

    // Shortest round-trip digits, read off the scientific form: "d.ddde±x".
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::scientific);
    std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::size_t ePos = sci.find('e');
    std::string digits;
    for (std::size_t k = 0; k < ePos; ++k) {
        if (sci[k] != '.') digits.push_back(sci[k]);
    }
    int exponent10 = 0;  // exponent of the first digit
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exponent10);
    const int n = static_cast<int>(digits.size());
    const int e = exponent10 - (n - 1);  // value = digits * 10^e

    bool fixed = n == 1 ? (e >= -3 && e <= 4) : (e >= -(n + 3) && e <= 5);
    if (fixed) {
        if (e >= 0) {
            // An integer: write its exact digits (2^60 is not 1152921504606846980).
            char exact[400];
            auto r = std::to_chars(exact, exact + sizeof exact, d, std::chars_format::fixed, 0);
            out.append(exact, r.ptr);
        } else {
            int point = n + e;
            if (point <= 0) {
                out += "0.";
                out.append(static_cast<std::size_t>(-point), '0');
                out += digits;
            } else {
                out.append(digits, 0, static_cast<std::size_t>(point));
                out.push_back('.');
                out.append(digits, static_cast<std::size_t>(point), std::string::npos);
            }
        }
    } else {
        out.push_back(digits[0]);
        if (n > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('e');
        int x = e + n - 1;
        out.push_back(x < 0 ? '-' : '+');
        int magnitude = x < 0 ? -x : x;
        if (magnitude < 10) out.push_back('0');
        out += std::to_string(magnitude);
    }
    if (out.find_first_of(".e") == std::string::npos) out += ".0";
    return out;
}

std::string quoteString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

namespace {

void writeScalar(std::string& out, const Value& value, bool quoted) {
    switch (value.kind()) {
    case ValueKind::Nil: out += "nil"; return;
    case ValueKind::Bool: out += value.asBool() ? "true" : "false"; return;
    case ValueKind::Int: appendInt(out, value.asInt()); return;
    case ValueKind::Float: out += formatNumber(value.asFloat()); return;
    case ValueKind::String:
        if (quoted) {
            out += quoteString(value.asString());
        } else {
            out += value.asString();
        }
        return;
    case ValueKind::Function:
    case ValueKind::Closure:
        out += "<function ";
        out += functionName(value);
        out.push_back('>');
        return;
    case ValueKind::Native:
        out += "<native function ";
        out += functionName(value);
        out.push_back('>');
        return;
    case ValueKind::List:
    case ValueKind::Map: break;
    }
    out += "<value>";
}

// Writes lists and maps with an explicit stack instead of recursion, so that
// deeply nested values print without exhausting the native stack. A
// container met again inside itself prints as [...] or {...}.
void writeValue(std::string& out, const Value& root, bool quoted) {
    if (!root.isList() && !root.isMap()) {
        writeScalar(out, root, quoted);
        return;
    }
    struct Frame {
        const Object* container;
        bool isList;
        std::size_t next;               // index of the next element or entry to write
        MapData::const_iterator entry;  // a map's next entry
    };
    std::vector<Frame> stack;
    // Containers on the stack, for the cycle check; a set once nesting is deep.
    std::unordered_set<const Object*> deepActive;
    constexpr std::size_t kScanDepth = 32;
    auto isActive = [&](const Object* object) {
        if (stack.size() > kScanDepth) return deepActive.count(object) > 0;
        for (const Frame& frame : stack) {
            if (frame.container == object) return true;
        }
        return false;
    };
    // Opens `value` if it is a container (pushing a frame), else writes it.
    auto begin = [&](const Value& value) {
        if (!value.isList() && !value.isMap()) {
            writeScalar(out, value, true);
            return;
        }
        if (isActive(value.asObject())) {
            out += value.isList() ? "[...]" : "{...}";
            return;
        }
        out.push_back(value.isList() ? '[' : '{');
        stack.push_back(Frame{value.asObject(), value.isList(), 0,
                              value.isMap() ? std::as_const(value.asMap()).begin() : MapData::const_iterator()});
        if (stack.size() == kScanDepth + 1) {
            for (const Frame& frame : stack) deepActive.insert(frame.container);
        } else if (stack.size() > kScanDepth + 1) {
            deepActive.insert(value.asObject());
        }
    };
    begin(root);
    // A list that holds the same sublist twice, nested a few dozen times,
    // has a text form of exponential size: stop at the size cap.
    const std::size_t limit = maxStringLength();
    while (!stack.empty()) {
        if (out.size() > limit) throw RuntimeError("result too large");  // a text form is a string
        const Frame frame = stack.back();
        stack.back().next++;
        const std::size_t size = frame.isList ? static_cast<const ListObj*>(frame.container)->items.size()
                                              : static_cast<const MapData*>(frame.container)->size();
        if (frame.next >= size) {
            out.push_back(frame.isList ? ']' : '}');
            if (stack.size() > kScanDepth) deepActive.erase(frame.container);
            stack.pop_back();
            if (stack.size() == kScanDepth) deepActive.clear();
            continue;
        }
        if (frame.next > 0) out += ", ";
        if (frame.isList) {
            begin(static_cast<const ListObj*>(frame.container)->items[frame.next]);
        } else {
            const MapEntry& entry = *frame.entry;
            ++stack.back().entry;  // before begin() pushes a frame
            if (entry.key.isList() || entry.key.isMap()) {
                writeValue(out, entry.key, true);  // keys are strings or numbers in practice
            } else {
                writeScalar(out, entry.key, true);
            }
            out += ": ";
            begin(entry.value);
        }
    }
}

}  // namespace

void appendText(std::string& out, const Value& value) {
    if (value.isString()) {
        out += value.asString();
        return;
    }
    writeValue(out, value, false);
}

void appendRepr(std::string& out, const Value& value) { writeValue(out, value, true); }

std::string toText(const Value& value) {
    if (value.isString()) return std::string(value.asString());
    std::string out;
    appendText(out, value);
    return out;
}

std::string toRepr(const Value& value) {
    std::string out;
    appendRepr(out, value);
    return out;
}

}  // namespace velmor
