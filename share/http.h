#pragma once
// Blocking HTTP requests through libcurl, as the gallery site expects them: the program's
// user agent, "Accept-Language: ru", redirects followed. Every failure (no connection, an
// HTTP status of 400 or more, ...) throws std::runtime_error with libcurl's text.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdio>

struct curl_slist;

// A file opened for reading when made and held until destroyed.
class UploadFile {
  public:
    explicit UploadFile(const QString& path); // throws when it cannot be opened
    ~UploadFile();
    UploadFile(const UploadFile&) = delete;
    UploadFile& operator=(const UploadFile&) = delete;

    std::FILE* handle() const { return file_; }
    long long size() const { return size_; }

  private:
    std::FILE* file_ = nullptr;
    long long size_ = 0;
};

// One connection. Answers are read up to their first megabyte, which is returned; the rest
// is not waited for. Every request ends within the time limit.
class HttpClient {
  public:
    static constexpr long kTimeLimitMs = 30000;
    explicit HttpClient(long timeLimitMs = kTimeLimitMs);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    QByteArray get(const QByteArray& url);
    // A multipart/form-data POST of one part: form field `field` holding the file's
    // content, with partFileName as the part's file name and contentType as its type.
    QByteArray postFile(const QByteArray& url, const QByteArray& field, UploadFile& file,
                        const QString& partFileName, const QByteArray& contentType);

    // Ends the request under way (from any thread) with an error, as soon as it next
    // waits for the network.
    void cancel() { cancelled_ = true; }
    // The libcurl handle (a CURL*), for a test that routes the connections to sockets of its
    // own.
    void* handle() const { return curl_; }

    static constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 5.5; Windows 98)";

  private:
    QByteArray perform();
    void* curl_;
    curl_slist* headers_ = nullptr;
    char error_[256];
    QByteArray body_;
    std::atomic<bool> cancelled_{false};
};
