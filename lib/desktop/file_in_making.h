#pragma once

#include <QString>

namespace desktop {

// A file made under a temporary name beside its target, which takes the target's name only when
// it is whole: a failure, a stop or a killed process never leaves part of it under that name.
// The temporary name is chosen free ("<target>.tmp-XXXXXX"); whatever makes the file there (this
// program, or the database engine it runs) is this object's maker, and the file is removed
// when the object goes unless it was finished.
class FileInMaking {
public:
    explicit FileInMaking(const QString& target);
    ~FileInMaking();
    FileInMaking(const FileInMaking&) = delete;
    FileInMaking& operator=(const FileInMaking&) = delete;

    const QString& target() const { return target_; }
    const QString& path() const { return path_; }

    // Creates the temporary file, empty, readable and writable by its owner only.
    void createPrivate();

    enum class Existing { Refuse, Replace };
    // Puts the file's contents on the disk and gives it the target's name. With Refuse an
    // existing target (also one that appeared while the file was made) is never replaced:
    // std::runtime_error with a Polish text, and the temporary file goes.
    void finish(Existing existing = Existing::Refuse);

private:
    QString target_;
    QString path_;
    bool finished_ = false;
};

// The Polish refusal of a target that exists already.
QString existingFileRefusal(const QString& target);

} // namespace desktop
