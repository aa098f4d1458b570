#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <deque>

// One task row: the cells of columns 1 to 4. The descriptive image is single-byte text and is
// kept as bytes, since it is by far the largest part of a list.
struct TaskRow
{
    QString x;
    QString y;
    QString task;
    QByteArray image;
};

// Task rows packed one after another into one buffer as the single-byte text "x*y*task*image", as a
// macro file holds them, so that a list of many small tasks takes about the memory of its file
// instead of an allocation per cell. x, y and the task text never hold "*" (a file cannot hold
// one there either: "*" ends them); one given is kept as a blank, and text beyond Latin-1 as "?".
class TaskRows
{
public:
    enum Field
    {
        kX = 0,
        kY = 1,
        kTask = 2,
        kImage = 3,
    };

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    // The bytes of all rows together, without separators between the rows.
    qsizetype PackedBytes() const { return m_bytes.size(); }

    // A field of a row, valid until the rows change.
    QByteArrayView FieldOf(std::size_t row, Field field) const;
    TaskRow operator[](std::size_t row) const;

    void push_back(const TaskRow& row);
    // Adds a row whose x, y and task text hold no "*" (the caller has split them at it).
    void Append(QByteArrayView x, QByteArrayView y, QByteArrayView task, QByteArrayView image);
    void Append(const TaskRows& rows);
    void pop_back();
    friend bool operator==(const TaskRows&, const TaskRows&) = default;
    // A copy of count rows from first (counted from 0).
    TaskRows Slice(std::size_t first, std::size_t count) const;
    // Puts rows in place of count rows from first and returns the rows it took out.
    TaskRows Splice(std::size_t first, std::size_t count, const TaskRows& rows);
    // Room for this many bytes of rows, so that a reader that knows its file's size never regrows.
    void ReserveBytes(qsizetype bytes) { m_bytes.reserve(bytes); }

private:
    QByteArrayView Packed(std::size_t row) const;

    QByteArray m_bytes;
    std::deque<qsizetype> m_ends; // where each row's text ends in m_bytes; a deque never copies itself to grow
};
