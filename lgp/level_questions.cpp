#include "lgp/level_questions.h"

namespace lgp {

std::vector<const TMessage*> TextQuestions(const TLGPSubFile& level) {
    std::vector<const TMessage*> questions(level.Texts.size(), nullptr);
    for (const TEntity& entity : level.Entities) {
        for (const TScript& script : entity.Scripts) {
            for (const TMessage& message : script.Messages) {
                if (message.Ask && message.TextId < questions.size() &&
                    questions[message.TextId] == nullptr) {
                    questions[message.TextId] = &message;
                }
            }
        }
    }
    return questions;
}

}  // namespace lgp
