#pragma once

// Values.
//
// A Value is 16 bytes: a one-byte kind tag and an 8-byte payload. Nil, Bool,
// Int and Float live in the payload; every other kind holds a pointer to a
// heap Object with an intrusive, non-atomic reference count: a value belongs
// to one thread at a time (engines on several threads share none). Copying a
// Value of a reference kind bumps the count; moving it does not touch the
// count at all, which is what the engines
// rely on to keep pushes and pops cheap.
//
// Strings are immutable at the language level, so a string Value shares one
// StringObj between all its copies instead of copying the bytes: the sharing
// cannot be observed. For the same reason a string that only one Value holds
// may grow in place (appendToString) when the program appends to it. A
// StringObj keeps its bytes right after its header, in one allocation. Lists
// and maps are shared and mutable: every copy of the Value sees the same
// storage.
//
// Objects small enough come from per-size free lists instead of the general
// allocator (see allocateObject); a program allocates and frees them at a
// high rate.
//
// There is no cycle collection. A list that contains itself is never freed
// before the process ends; nothing depends on freeing such structures.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "per_thread.h"

namespace velmor {

enum class ValueKind : uint8_t {
    Nil = 0,
    Bool = 1,
    Int = 2,
    Float = 3,
    String = 4,
    List = 5,
    Map = 6,
    Function = 7,  // tree-walker function (FunctionObj)
    Native = 8,    // builtin (NativeObj)
    Closure = 9,   // VM closure (VMClosure)
};

// Memory for objects: blocks of up to kLargestPooledObject bytes are taken
// from and returned to free lists, one per multiple of 16 bytes, which never
// give memory back; larger ones go to the general allocator. `size` must be
// the size the block was allocated with. (Sanitizer builds use the general
// allocator throughout, so that they still see every use after free.)
inline constexpr std::size_t kLargestPooledObject = 256;
void* allocateObject(std::size_t size);
void freeObject(void* block, std::size_t size) noexcept;
// How many chunks the pools of all threads have taken from the general
// allocator so far (0 where nothing is pooled).
std::size_t pooledChunksTaken();

// Base of every heap payload. Destroyed through the virtual destructor when
// the last reference goes away.
struct Object {
    uint32_t refCount = 0;
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    static void* operator new(std::size_t size) { return allocateObject(size); }
    static void operator delete(void* block, std::size_t size) noexcept { freeObject(block, size); }
};

// Destroys an object whose count reached zero. Objects freed while another
// is being destroyed are queued and freed by the outermost call, so that
// freeing a list nested a million deep does not recurse a million deep.
void destroyObject(Object* object);

inline void retain(Object* object) { ++object->refCount; }
inline void release(Object* object) {
    if (--object->refCount == 0) destroyObject(object);
}

// Intrusive shared pointer to an Object subclass.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(T* pointer) : pointer_(pointer) {
        if (pointer_) retain(pointer_);
    }
    Ref(const Ref& other) : pointer_(other.pointer_) {
        if (pointer_) retain(pointer_);
    }
    Ref(Ref&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    template <class U>
    Ref(const Ref<U>& other) : pointer_(other.get()) {
        if (pointer_) retain(pointer_);
    }
    ~Ref() {
        if (pointer_) release(pointer_);
    }
    Ref& operator=(Ref other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    T& operator*() const { return *pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    bool operator==(const Ref& other) const { return pointer_ == other.pointer_; }

private:
    T* pointer_ = nullptr;
};

template <class T, class... Args>
Ref<T> makeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

struct StringObj;
struct ListObj;
class ValueVector;
struct MapData;
struct FunctionObj;  // interpreter.h
struct NativeObj;    // builtins/native.h
struct VMClosure;    // vm.h

class Value {
public:
    Value() : kind_(ValueKind::Nil) { payload_.integer = 0; }
    // One store of the whole payload: a byte store into a zeroed payload would
    // stall the next full-width read of it (no store forwarding).
    explicit Value(bool b) : kind_(ValueKind::Bool) { payload_.integer = b ? 1 : 0; }
    explicit Value(int64_t i) : kind_(ValueKind::Int) { payload_.integer = i; }
    explicit Value(int i) : Value(static_cast<int64_t>(i)) {}
    explicit Value(double d) : kind_(ValueKind::Float) { payload_.number = d; }
    explicit Value(std::string_view text);
    explicit Value(const std::string& text) : Value(std::string_view(text)) {}
    explicit Value(const char* text) : Value(std::string_view(text)) {}
    explicit Value(Ref<ListObj> list);
    explicit Value(Ref<MapData> map);
    explicit Value(Ref<FunctionObj> function);
    explicit Value(Ref<NativeObj> native);
    explicit Value(Ref<VMClosure> closure);

    // A new string of `length` bytes, written by fill(char* bytes) before
    // anyone else can see it.
    template <class Fill>
    static Value newString(std::size_t length, Fill&& fill);
    static Value newList();
    static Value newList(ValueVector items);
    static Value newMap();

    Value(const Value& other) : kind_(other.kind_), payload_(other.payload_) {
        if (isObject()) retain(payload_.object);
    }
    Value(Value&& other) noexcept : kind_(other.kind_), payload_(other.payload_) {
        other.kind_ = ValueKind::Nil;
        other.payload_.integer = 0;
    }
    Value& operator=(const Value& other) {
        if (other.isObject()) retain(other.payload_.object);
        Object* old = isObject() ? payload_.object : nullptr;
        kind_ = other.kind_;
        payload_ = other.payload_;
        if (old) release(old);
        return *this;
    }
    // Always inlined: the VM's instruction loop is one large function, past
    // the size at which the compiler stops inlining by itself, and a move
    // assignment called there costs its handlers a call each.
    [[gnu::always_inline]] Value& operator=(Value&& other) noexcept {
        if (this != &other) {
            Object* old = isObject() ? payload_.object : nullptr;
            kind_ = other.kind_;
            payload_ = other.payload_;
            other.kind_ = ValueKind::Nil;
            other.payload_.integer = 0;
            if (old) release(old);
        }
        return *this;
    }
    ~Value() {
        if (isObject()) release(payload_.object);
    }

    ValueKind kind() const { return kind_; }
    bool isObject() const { return kind_ >= ValueKind::String; }
    bool isNil() const { return kind_ == ValueKind::Nil; }
    bool isBool() const { return kind_ == ValueKind::Bool; }
    bool isInt() const { return kind_ == ValueKind::Int; }
    bool isFloat() const { return kind_ == ValueKind::Float; }
    bool isNumber() const { return kind_ == ValueKind::Int || kind_ == ValueKind::Float; }
    bool isString() const { return kind_ == ValueKind::String; }
    bool isList() const { return kind_ == ValueKind::List; }
    bool isMap() const { return kind_ == ValueKind::Map; }
    bool isFunction() const { return kind_ == ValueKind::Function; }
    bool isNative() const { return kind_ == ValueKind::Native; }
    bool isClosure() const { return kind_ == ValueKind::Closure; }
    bool isCallable() const { return kind_ >= ValueKind::Function; }

    // Payload access; the caller has checked the kind.
    bool asBool() const { return payload_.integer != 0; }
    int64_t asInt() const { return payload_.integer; }
    double asFloat() const { return payload_.number; }
    std::string_view asString() const;
    StringObj& asStringObj() const { return *reinterpret_cast<StringObj*>(payload_.object); }
    ListObj& asList() const { return *reinterpret_cast<ListObj*>(payload_.object); }
    ValueVector& listItems() const;
    MapData& asMap() const { return *reinterpret_cast<MapData*>(payload_.object); }
    FunctionObj& asFunction() const { return *reinterpret_cast<FunctionObj*>(payload_.object); }
    NativeObj& asNative() const { return *reinterpret_cast<NativeObj*>(payload_.object); }
    VMClosure& asClosure() const { return *reinterpret_cast<VMClosure*>(payload_.object); }
    Object* asObject() const { return payload_.object; }

    // Mutable access for the engines' fast paths: the caller has checked the kind.
    int64_t& intRef() { return payload_.integer; }
    double& floatRef() { return payload_.number; }

private:
    friend bool appendToString(Value& target, std::string_view tail, std::size_t spare);
    friend struct MapData;  // marks removed entries with a nil of its own

    Value(ValueKind kind, Object* object) : kind_(kind) {
        payload_.object = object;
        if (object) retain(object);
    }

    ValueKind kind_;
    union Payload {
        int64_t integer;  // also a Bool, as 0 or 1
        double number;
        Object* object;
    } payload_;
};

static_assert(sizeof(Value) == 16, "Value is a tag and an 8-byte payload");

// The items of a list: a vector of Values that grows with realloc. A Value
// holds no pointer to itself, so moving its bytes relocates it; a large
// block then moves by its pages instead of by a copy into fresh memory that
// must be faulted in, which is most of the cost of building a long list one
// item at a time. Iterators are pointers; an allocation failure throws
// std::bad_alloc, as the standard containers do.
class ValueVector {
public:
    using value_type = Value;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = Value&;
    using const_reference = const Value&;
    using iterator = Value*;
    using const_iterator = const Value*;
    using reverse_iterator = std::reverse_iterator<Value*>;
    using const_reverse_iterator = std::reverse_iterator<const Value*>;

    ValueVector() = default;
    // `count` nils.
    explicit ValueVector(std::size_t count) { resize(count); }
    template <class Iterator>
    ValueVector(Iterator first, Iterator last) {
        if constexpr (std::is_base_of_v<std::forward_iterator_tag,
                                        typename std::iterator_traits<Iterator>::iterator_category>) {
            reserve(static_cast<std::size_t>(std::distance(first, last)));
        }
        for (; first != last; ++first) emplace_back(*first);
    }
    ValueVector(std::initializer_list<Value> items) : ValueVector(items.begin(), items.end()) {}
    ValueVector(const ValueVector& other) : ValueVector(other.begin(), other.end()) {}
    ValueVector(ValueVector&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ValueVector& operator=(const ValueVector& other) {
        if (this != &other) {
            ValueVector copy(other);
            swap(copy);
        }
        return *this;
    }
    ValueVector& operator=(ValueVector&& other) noexcept {
        ValueVector taken(std::move(other));
        swap(taken);
        return *this;
    }
    ~ValueVector() {
        clear();
        freeBlock();
    }

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    Value* data() { return data_; }
    const Value* data() const { return data_; }
    Value* begin() { return data_; }
    Value* end() { return data_ + size_; }
    const Value* begin() const { return data_; }
    const Value* end() const { return data_ + size_; }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }
    Value& operator[](std::size_t i) { return data_[i]; }
    const Value& operator[](std::size_t i) const { return data_[i]; }
    Value& front() { return data_[0]; }
    const Value& front() const { return data_[0]; }
    Value& back() { return data_[size_ - 1]; }
    const Value& back() const { return data_[size_ - 1]; }

    void reserve(std::size_t count) {
        if (count > capacity_) reallocate(count);
    }
    template <class... Args>
    Value& emplace_back(Args&&... args) {
        if (size_ == capacity_) {
            // The arguments may name an item of this vector: build first.
            Value item(std::forward<Args>(args)...);
            grow(size_ + 1);
            return *new (data_ + size_++) Value(std::move(item));
        }
        return *new (data_ + size_++) Value(std::forward<Args>(args)...);
    }
    void push_back(const Value& item) { emplace_back(item); }
    void push_back(Value&& item) { emplace_back(std::move(item)); }
    void pop_back() { data_[--size_].~Value(); }
    void clear() {
        // Items go from the back, and the size shrinks before each one goes,
        // so a release that reaches this vector again sees only live items.
        while (size_ > 0) pop_back();
    }
    void resize(std::size_t count) {
        while (size_ > count) pop_back();
        reserve(count);
        while (size_ < count) new (data_ + size_++) Value();
    }
    Value* insert(const Value* position, Value item);
    template <class Iterator>
    Value* insert(const Value* position, Iterator first, Iterator last) {
        const std::size_t at = static_cast<std::size_t>(position - data_);
        const std::size_t before = size_;
        for (; first != last; ++first) emplace_back(*first);
        std::rotate(data_ + at, data_ + before, data_ + size_);
        return data_ + at;
    }
    Value* erase(const Value* position) { return erase(position, position + 1); }
    Value* erase(const Value* first, const Value* last);
    void swap(ValueVector& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

private:
    // The items of a short list (a tree's node, a pair) are kept in the
    // object pool, so that building and dropping one costs no trip to the
    // general allocator; a longer list's grow with realloc.
    static constexpr std::size_t kPooledItems = kLargestPooledObject / sizeof(Value);

    void grow(std::size_t minimum) { reallocate(std::max(minimum, capacity_ * 2)); }
    void reallocate(std::size_t capacity);
    void freeBlock() noexcept {
        if (capacity_ > kPooledItems)
            std::free(data_);
        else if (data_)
            freeObject(data_, capacity_ * sizeof(Value));
    }

    Value* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// The bytes follow the header, `capacity` of them reserved, the first
// `length` in use (and a NUL after them, for the platform's text routines).
struct StringObj final : Object {
    // A string of `length` unwritten bytes with room for `capacity`.
    static StringObj* allocate(std::size_t length, std::size_t capacity);

    std::string_view view() const { return {bytes(), length}; }
    const char* bytes() const { return reinterpret_cast<const char*>(this + 1); }
    char* bytes() { return reinterpret_cast<char*>(this + 1); }

    std::size_t length;
    std::size_t capacity;
    // The text's hash, computed on first use by a map index (0: not yet).
    mutable std::size_t hashCache = 0;

    // Frees the header and the bytes together.
    static void operator delete(StringObj* string, std::destroying_delete_t) noexcept;

private:
    StringObj(std::size_t length_, std::size_t capacity_) : length(length_), capacity(capacity_) {}
};

struct ListObj final : Object {
    ListObj() = default;
    explicit ListObj(ValueVector items_) : items(std::move(items_)) {}
    ValueVector items;
};

struct MapEntry {
    Value key;
    Value value;
};

// An insertion-ordered association list. Lookups match keys with keysEqual:
// an Int and a Float of equal value name one entry (the key first stored is
// kept), a NaN key is never found, strings and numbers never match.
//
// Small maps are scanned from the front. Once a map holds kIndexThreshold
// entries, a hash index (open addressing over entry positions) answers
// lookups instead; it gives the same answers as the scan because keysEqual
// is an equivalence on everything but NaN, and NaN keys are never indexed.
// Each slot keeps the top bits of its key's hash beside the entry's
// position, so that a probe passes over most other keys without reading
// their entries (in a large map, each read is a cache miss).
//
// Removing an entry from a large map leaves a hole in its place: the
// entry's key becomes a marker that no reader is shown and no probe
// matches, so the index needs no change (a slot that leads to a hole is a
// deleted slot) and no later entry moves. When holes make up more than half
// the positions, the map compacts: the live entries close up in order and
// the index is built again on the next lookup. Each compaction is paid for
// by the removals before it, so removal costs constant time amortised. A
// small map simply erases the entry; it has no index to keep.
//
// The storage is private so that no reader can forget a hole: iteration
// (begin/end) visits the live entries in insertion order, size() counts
// them, and code that remembers a position (the engines' field caches) reads
// it back through stringEntryAt, which never returns a hole. Positions stay
// put until a compaction; after one, a remembered position may hold another
// entry or none, so the caller checks the key it finds there.
struct MapData final : Object {
    // Visits the live entries from `at` on, skipping holes.
    template <class Entry>
    class EntryIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = MapEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = Entry*;
        using reference = Entry&;

        EntryIterator(Entry* at, Entry* end) : at_(at), end_(end) { skipHoles(); }
        Entry& operator*() const { return *at_; }
        Entry* operator->() const { return at_; }
        EntryIterator() = default;
        EntryIterator& operator++() {
            ++at_;
            skipHoles();
            return *this;
        }
        EntryIterator operator++(int) {
            EntryIterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const EntryIterator& other) const { return at_ == other.at_; }

    private:
        void skipHoles() {
            while (at_ != end_ && isHole(at_->key)) ++at_;
        }
        Entry* at_ = nullptr;
        Entry* end_ = nullptr;
    };
    using iterator = EntryIterator<MapEntry>;
    using const_iterator = EntryIterator<const MapEntry>;

    iterator begin() { return {entries_.data(), entries_.data() + entries_.size()}; }
    iterator end() { return {entries_.data() + entries_.size(), entries_.data() + entries_.size()}; }
    const_iterator begin() const { return {entries_.data(), entries_.data() + entries_.size()}; }
    const_iterator end() const { return {entries_.data() + entries_.size(), entries_.data() + entries_.size()}; }

    // Calls visit(entry) for each live entry in order: the same walk as
    // begin/end, for the tight loops that copy a map out (keys, for-in),
    // with the plain loop for a map that has no holes.
    template <class Visit>
    void forEach(Visit&& visit) const {
        if (holes_ == 0) {
            for (const MapEntry& entry : entries_) visit(entry);
        } else {
            for (const MapEntry& entry : *this) visit(entry);
        }
    }

    // The number of live entries.
    std::size_t size() const { return entries_.size() - holes_; }
    bool empty() const { return size() == 0; }
    void reserve(std::size_t count) { entries_.reserve(count); }
    void clear();
    // Makes this map hold copies of `other`'s entries, in its order.
    void assign(const MapData& other);

    // The stored value for `key`, or nullptr.
    Value* find(const Value& key);
    const Value* find(const Value& key) const;
    // Position of the matching entry, or -1 (see stringEntryAt).
    std::ptrdiff_t indexOf(const Value& key) const;
    // The entry at a position that indexOf has just returned, the map
    // unchanged since: never a hole.
    MapEntry& foundEntry(std::size_t position) { return entries_[position]; }
    // Replace the value of the matching entry, or append a new entry.
    void set(const Value& key, Value value);
    // Append an entry for a key that the caller has just failed to find.
    void append(const Value& key, Value&& value) { entries_.push_back(MapEntry{key, std::move(value)}); }
    // Remove the matching entry; whether there was one.
    bool remove(const Value& key);

    // The entry at `position` (as indexOf gave it) if its key is a string;
    // nullptr past the end and for a hole or an entry with another kind of
    // key. A caller that remembered a position checks the key itself.
    MapEntry* stringEntryAt(std::size_t position) {
        if (position >= entries_.size()) return nullptr;
        MapEntry& entry = entries_[position];
        return entry.key.isString() ? &entry : nullptr;
    }

    static constexpr std::size_t kIndexThreshold = 16;

private:
    // A hole's key: nil to the eye, told apart from a stored nil by its payload.
    static Value holeKey() {
        Value key;
        key.payload_.integer = 1;
        return key;
    }
    static bool isHole(const Value& key) { return key.isNil() && key.payload_.integer != 0; }

    std::ptrdiff_t scan(const Value& key) const;
    std::ptrdiff_t probe(const Value& key) const;
    void catchUpIndex() const;
    void insertIntoIndex(std::size_t position) const;
    void compact();

    std::vector<MapEntry> entries_;
    std::size_t holes_ = 0;  // removed entries still in `entries_`

    struct IndexSlot {
        int32_t position;  // of the entry; -1 marks an empty slot
        uint32_t tag;      // the top bits of its key's hash
    };
    mutable std::vector<IndexSlot> slots_;
    mutable std::size_t indexed_ = 0;  // entries_[0, indexed_) are in the index
};

inline std::string_view Value::asString() const { return asStringObj().view(); }

template <class Fill>
Value Value::newString(std::size_t length, Fill&& fill) {
    StringObj* string = StringObj::allocate(length, length);
    fill(string->bytes());
    return Value(ValueKind::String, string);
}
inline ValueVector& Value::listItems() const { return asList().items; }

// Base of the three function kinds, so that the value layer can name a
// function without knowing either engine.
struct Callable : Object {
    virtual const std::string& name() const = 0;
};

// Kinds, truthiness and the two equalities.
const char* typeName(const Value& value);
const char* kindTypeName(ValueKind kind);
inline bool isTruthy(const Value& value) { return !(value.isNil() || (value.isBool() && !value.asBool())); }
inline bool isNumber(const Value& value) { return value.isNumber(); }
inline double asDouble(const Value& value) {
    return value.isInt() ? static_cast<double>(value.asInt()) : value.asFloat();
}
bool valuesEqual(const Value& a, const Value& b);  // the equality of ==
bool keysEqual(const Value& a, const Value& b);    // map-key matching

// A shared one-byte string, so that indexing a string, iterating over it,
// chars and char do not allocate. The table is made on first use, one per
// thread (the counts of its strings are not atomic); a constant-initialised
// pointer rather than a table with a constructor, so that a use costs no
// guard and no call.
struct ByteStrings {
    const Value* table = nullptr;
};
inline const Value*& byteStringTable() { return PerThread<ByteStrings>::get().table; }
const Value* makeByteStrings();
inline const Value& byteString(unsigned char byte) {
    const Value* table = byteStringTable();
    if (!table) [[unlikely]]
        table = makeByteStrings();
    return table[byte];
}

// Free-function forms of the map operations.
inline const Value* find(const MapData& map, const Value& key) { return map.find(key); }
inline void set(MapData& map, const Value& key, Value value) { map.set(key, std::move(value)); }

// "+" of two strings or of two lists: a new value, the operands unchanged.
// Returns false, building nothing, when the result
// would pass the size cap (maxStringLength / maxListLength), so that each
// engine reports "result too large" at its own position.
bool concatenate(const Value& left, const Value& right, Value& result);

// Appends `tail` to the string that `target` holds, which no one else may
// hold: in place when there is room, else into a larger string that replaces
// it, with room for at least `spare` bytes more. Returns false, changing
// nothing, when the result and the spare room would pass the size cap.
// `tail` may be a view of the target's own bytes.
bool appendToString(Value& target, std::string_view tail, std::size_t spare = 0);

// Appends the items of `tail` to the list that `target` holds, which no one
// else may hold. Returns false, changing nothing, when the result would pass
// the size cap. `tail` may be the target's own items.
bool appendToList(Value& target, const ValueVector& tail);

// The name shown in a function's text form and in arity messages.
inline const std::string& functionName(const Value& value) {
    return static_cast<const Callable*>(value.asObject())->name();
}

// Text forms. toText is the plain form that print and str give; toRepr the
// quoted form that repr and the REPL echo give. A list or map that contains
// itself prints the inner occurrence as [...] or {...}.
std::string toText(const Value& value);
std::string toRepr(const Value& value);
void appendText(std::string& out, const Value& value);
void appendRepr(std::string& out, const Value& value);
std::string formatNumber(double d);
std::string quoteString(std::string_view text);
std::string formatInt(int64_t i);
// toText of an Int as a string value, written straight into it.
Value intString(int64_t i);

}  // namespace velmor
