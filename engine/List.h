#pragma once

#include <stdexcept>

// The engine's doubly linked list of pointers. It owns its nodes, never the values.
template <typename T>
struct ListNode {
    T value;
    ListNode* next = nullptr;
    ListNode* prev = nullptr;
};

template <typename T>
class ListIterator {
public:
    ListIterator() = default;
    explicit ListIterator(ListNode<T>* node) : node_(node) {}
    virtual ~ListIterator() = default;

    bool AtEnd() const { return node_ == nullptr; }
    T& operator*() const { return node_->value; }
    ListNode<T>* Node() const { return node_; }
    ListIterator& operator++() {
        node_ = node_->next;
        return *this;
    }
    // Steps back and returns the iterator as it was before the step.
    virtual ListIterator operator--(int) {
        ListIterator before = *this;
        node_ = node_->prev;
        return before;
    }

private:
    ListNode<T>* node_ = nullptr;
};

template <typename T>
class List {
public:
    using Node = ListNode<T>;

    List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() { Clear(); }

    Node* Head() const { return head_; }
    Node* Tail() const { return tail_; }
    bool Empty() const { return head_ == nullptr; }
    ListIterator<T> Begin() const { return ListIterator<T>(head_); }

    void PushBack(const T& value) {
        Node* n = new Node{value, nullptr, tail_};
        if (tail_) tail_->next = n;
        else head_ = n;
        tail_ = n;
    }

    // Links value before the first node holding ref's value.
    void InsertBefore(const T& value, const Node* ref) {
        Node* found = head_;
        while (found && !(ref && found->value == ref->value)) found = found->next;
        if (!found) throw std::runtime_error("Node doesn't exist");
        Node* n = new Node{value, found, found->prev};
        if (found->prev) found->prev->next = n;
        else head_ = n;
        found->prev = n;
    }

    Node* Find(const T& value) const {
        for (Node* n = head_; n; n = n->next)
            if (n->value == value) return n;
        return nullptr;
    }

    // Unlinks the first node holding value; returns whether one was found.
    bool Remove(const T& value) {
        Node* n = Find(value);
        if (!n) return false;
        if (n->prev) n->prev->next = n->next;
        else head_ = n->next;
        if (n->next) n->next->prev = n->prev;
        else tail_ = n->prev;
        delete n;
        return true;
    }

    void Clear() {
        Node* n = head_;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        head_ = tail_ = nullptr;
    }

    int Count() const {
        int c = 0;
        for (Node* n = head_; n; n = n->next) ++c;
        return c;
    }

private:
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
};
