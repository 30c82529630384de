// TList: the ordered list behind every collection of live objects.
//
// Walking a list fetches the next element before the body runs, so the body
// may remove the element it stands on (particles and comets remove
// themselves). An element appended during a walk is still visited, unless it
// was appended while the last element was being visited. Removed links keep
// their forward pointer and are skipped, so removing a *later* element during
// a walk is safe too.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace plat {

template <class T>
class TList {
public:
    struct Link {
        T value;
        std::shared_ptr<Link> next;
        Link* prev = nullptr;
        bool removed = false;
        // Frees a long chain that only this link holds without recursing
        // once per link (a kept link of a cleared list can own the rest).
        ~Link() {
            std::shared_ptr<Link> n = std::move(next);
            while (n && n.use_count() == 1) n = std::move(n->next);
        }
    };
    using LinkPtr = std::shared_ptr<Link>;

    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() { Clear(); }

    LinkPtr AddLast(T v) {
        auto l = std::make_shared<Link>();
        l->value = std::move(v);
        l->prev = last_;
        if (last_) last_->next = l; else first_ = l;
        last_ = l.get();
        ++count_;
        return l;
    }
    LinkPtr AddFirst(T v) {
        auto l = std::make_shared<Link>();
        l->value = std::move(v);
        l->next = first_;
        if (first_) first_->prev = l.get(); else last_ = l.get();
        first_ = l;
        ++count_;
        return l;
    }
    // Removes the first element equal to v; false when there is none.
    bool Remove(const T& v) {
        for (Link* l = first_.get(); l; l = l->next.get())
            if (l->value == v) { Unlink(l); return true; }
        return false;
    }
    void RemoveLink(const LinkPtr& l) { if (l && !l->removed) Unlink(l.get()); }
    bool Contains(const T& v) const {
        for (Link* l = first_.get(); l; l = l->next.get())
            if (l->value == v) return true;
        return false;
    }
    void Clear() {
        // Unlink iteratively: a long chain of shared links must not be freed
        // by recursion. A walk in progress keeps its own reference alive.
        LinkPtr l = std::move(first_);
        while (l) {
            l->removed = true;
            l->prev = nullptr;
            LinkPtr n = l->next;  // keep the forward pointer for running walks
            l = std::move(n);
        }
        first_.reset();
        last_ = nullptr;
        count_ = 0;
    }
    int Count() const { return static_cast<int>(count_); }
    bool IsEmpty() const { return count_ == 0; }
    T First() const { return first_ ? first_->value : T{}; }
    T Last() const { return last_ ? last_->value : T{}; }
    T ValueAtIndex(int i) const {
        int k = 0;
        for (Link* l = first_.get(); l; l = l->next.get(), ++k)
            if (k == i) return l->value;
        return T{};
    }
    void Reverse() {
        std::vector<T> items = ToArray();
        Clear();
        for (auto it = items.rbegin(); it != items.rend(); ++it) AddLast(std::move(*it));
    }
    std::vector<T> ToArray() const {
        std::vector<T> out;
        out.reserve(count_);
        for (Link* l = first_.get(); l; l = l->next.get()) out.push_back(l->value);
        return out;
    }
    LinkPtr FirstLink() const { return first_; }

    // Visits every element from first to last with the walk rules above.
    template <class F>
    void ForEach(F&& body) {
        LinkPtr cur = first_;
        while (cur) {
            LinkPtr next = cur->next;
            if (!cur->removed) body(cur->value);
            cur = Advance(cur, std::move(next));
        }
    }

    // Range-for with the same rules (the iterator holds the next link).
    class iterator {
    public:
        iterator() = default;
        explicit iterator(LinkPtr c) : cur_(std::move(c)) { Fetch(); }
        T& operator*() const { return cur_->value; }
        iterator& operator++() {
            cur_ = Advance(cur_, std::move(next_));
            Fetch();
            return *this;
        }
        bool operator!=(const iterator& o) const { return cur_ != o.cur_; }
        bool operator==(const iterator& o) const { return cur_ == o.cur_; }
    private:
        void Fetch() { next_ = cur_ ? cur_->next : nullptr; }
        LinkPtr cur_, next_;
    };
    iterator begin() { return iterator(first_); }
    iterator end() { return iterator(); }

private:
    // The link after cur, given the one fetched before the body ran. When the
    // body removed that one, a cur still in the list knows its live
    // successor (which may have been appended meanwhile); a removed cur is
    // left through the forward pointers removed links keep.
    static LinkPtr Advance(const LinkPtr& cur, LinkPtr next) {
        if (next && next->removed && !cur->removed) next = cur->next;
        while (next && next->removed) next = next->next;
        return next;
    }

    void Unlink(Link* l) {
        // The list may hold the only reference: keep the link alive until
        // it is fully unlinked.
        const LinkPtr self = l->prev ? l->prev->next : first_;
        l->removed = true;
        Link* p = l->prev;
        LinkPtr n = l->next;  // the removed link keeps it for running walks
        if (n) n->prev = p; else last_ = p;
        if (p) p->next = n; else first_ = n;
        l->prev = nullptr;
        --count_;
    }

    LinkPtr first_;
    Link* last_ = nullptr;
    std::size_t count_ = 0;
};

template <class T> std::shared_ptr<TList<T>> CreateList() { return std::make_shared<TList<T>>(); }
template <class T, class V> auto ListAddLast(TList<T>& l, V&& v) { return l.AddLast(std::forward<V>(v)); }
template <class T, class V> auto ListAddFirst(TList<T>& l, V&& v) { return l.AddFirst(std::forward<V>(v)); }
template <class T, class V> bool ListRemove(TList<T>& l, const V& v) { return l.Remove(v); }
template <class T> void ClearList(TList<T>& l) { l.Clear(); }
template <class T> int CountList(const TList<T>& l) { return l.Count(); }
template <class T> void ReverseList(TList<T>& l) { l.Reverse(); }
template <class T> std::vector<T> ListToArray(const TList<T>& l) { return l.ToArray(); }

}  // namespace plat
